#include "UnitColorIndicators.h"

#include "core/ChannelState.h"
#include "session/OperatorSettings.h"
#include "session/controller/Channels.h"
#include "widgets/RadioGroup.h"
#include "widgets/Shape.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr TCaptionSlot kUnitColorIndicatorsSlots[] = {{18, "TFormColorIndicators", -1},
                                                      {19, "lblMode", -1},
                                                      {20, "LabelGreen", -1},
                                                      {21, "LabelRed", -1},
                                                      {22, "LabelYellow", -1},
                                                      {23, "LabelBlack", -1},
                                                      {24, "rgr1", -1},
                                                      {24, "rgr2", -1},
                                                      {24, "rgr3", -1}};
} // namespace

TFormColorIndicators::TFormColorIndicators(TOperatorSettings& options, TChannels& channels, QWidget* parent)
    : TTranslatedDialog(
          options, {"TFormColorIndicators", "Coordinates mode", kUnitColorIndicatorsSlots, 24, true}, parent),
      channels_(channels) {
    const auto& colours = TChannelState::IndicatorColours;
    auto* grid = new QGridLayout(this);
    lblMode = new QLabel("Mode:", this);
    lblMode->setObjectName("lblMode");
    grid->addWidget(lblMode, 0, 0, 1, 2);
    const struct {
        QLabel** label;
        const char* name;
        const char* swatch;
        const char* text;
    } legend[] = {{&LabelGreen, "LabelGreen", "PanelGreen", "Standby"},
                  {&LabelRed, "LabelRed", "PanelRed", "Programe executing"},
                  {&LabelYellow, "LabelYellow", "PanelYellow", "Communication"},
                  {&LabelBlack, "LabelBlack", "PanelBlack", "Pause"}};
    for (int state = 0; state < 4; ++state) {
        auto* swatch = new TShape(legend[state].swatch, QColor::fromRgb(colours[size_t(state)]), this);
        *legend[state].label = new QLabel(legend[state].text, this);
        (*legend[state].label)->setObjectName(legend[state].name);
        grid->addWidget(swatch, state + 1, 0);
        grid->addWidget(*legend[state].label, state + 1, 1);
    }
    // A group per channel: item i is the row of state i, with its colour beside it.
    TRadioGroup** groups[] = {&rgr1, &rgr2, &rgr3};
    int swatchNumber = 2;
    for (int channel = 1; channel <= 3; ++channel) {
        auto* group = new TRadioGroup(QString("rgr%1").arg(channel), QString("%1 coord").arg(channel),
                                      {QString(), QString(), QString(), QString()}, 1, this);
        auto* layout = qobject_cast<QGridLayout*>(group->layout());
        for (int state = 0; state < 4; ++state) {
            auto* swatch = new TShape(QString("Panel%1").arg(swatchNumber++),
                                      QColor::fromRgb(colours[size_t(state)]), group);
            layout->addWidget(swatch, state, 1);
        }
        group->SetItemIndex(0);
        *groups[channel - 1] = group;
        grid->addWidget(group, 0, channel + 1, 5, 1);
    }
    btnOK = new QPushButton("OK", this);
    btnOK->setObjectName("btnOK");
    grid->addWidget(btnOK, 5, 0, 1, 5, Qt::AlignHCenter);
    connect(btnOK, &QPushButton::clicked, this, &TFormColorIndicators::btnOKClick);
    FormCreate();
}

void TFormColorIndicators::Fill() {
    const std::array<quint8, 3> states = channels_.States();
    rgr1->SetItemIndex(states[0]);
    rgr2->SetItemIndex(states[1]);
    rgr3->SetItemIndex(states[2]);
}

void TFormColorIndicators::SetCaption(const QString& objectName, int item, const QString& text) {
    // Entry 24 is the word after the channel number: "1 " + the word.
    if (objectName.size() == 4 && objectName.startsWith("rgr") && item < 0) {
        TTranslatedDialog::SetCaption(objectName, item, objectName.right(1) + " " + text);
        return;
    }
    TTranslatedDialog::SetCaption(objectName, item, text);
}

void TFormColorIndicators::btnOKClick() {
    channels_.SetStates({quint8(rgr1->ItemIndex()), quint8(rgr2->ItemIndex()), quint8(rgr3->ItemIndex())});
    close();
}
