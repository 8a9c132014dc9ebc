#include "ChannelStatePanel.h"

#include "lang/ExtraIds.h"
#include "lang/Lang.h"

#include "widgets/Design.h"
#include "widgets/Shape.h"

#include <QCheckBox>
#include <QHBoxLayout>

using namespace Design;

TChannelStatePanel::TChannelStatePanel(QWidget* parent) : TPanel("PanelChanelState", parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);
    const char* const names[3][3] = {
        {"txtX", "shpX", "ChboxCoord1"}, {"txtY", "shpY", "chboxCoord2"}, {"txtZ", "shpZ", "chboxCoord3"}};
    for (size_t n = 0; n < 3; ++n) {
        labels_[n] = Label(names[n][0], QString::number(n + 1), this);
        indicators_[n] = new TShape(names[n][1], QColor(0, 128, 0), this);
        boxes_[n] = Named(new QCheckBox(this), names[n][2]);
        row->addWidget(labels_[n]);
        row->addWidget(indicators_[n]);
        row->addWidget(boxes_[n]);
        auto* bevel = new QFrame(this);
        bevel->setFrameShape(QFrame::VLine);
        bevel->setFrameShadow(QFrame::Sunken);
        row->addWidget(bevel);
        connect(boxes_[n], &QCheckBox::clicked, this, [this] {
            emit ChannelsClicked(boxes_[0]->isChecked(), boxes_[1]->isChecked(), boxes_[2]->isChecked());
        });
    }
    boxes_[0]->setChecked(true);
    btnSetCoordStates = Button("btnSetCoordStates", "?", this);
    btnSetCoordStates->setToolTip("Coordinates mode");
    row->addStretch();
    row->addWidget(btnSetCoordStates);
}

void TChannelStatePanel::ShowChannels(bool channel1, bool channel2, bool channel3) {
    boxes_[0]->setChecked(channel1);
    boxes_[1]->setChecked(channel2);
    boxes_[2]->setChecked(channel3);
}

void TChannelStatePanel::ShowChannelBoxes(bool show) {
    for (QCheckBox* box : boxes_)
        box->setVisible(show);
}

void TChannelStatePanel::ApplyTexts(const TLang& lang) {
    btnSetCoordStates->setToolTip(lang.ExtraText(Ext::HintChannelStates));
}
