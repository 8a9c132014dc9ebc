#include "TravelLimitsPanel.h"

#include "core/Decimal.h"
#include "widgets/Design.h"

#include <QCheckBox>
#include <QGridLayout>

using namespace Design;

namespace {
// A number typed with a point or a comma, whatever the system's separator.
std::optional<double> ReadNumber(const QString& text) {
    QString t = text.trimmed();
    t.replace('.', Decimal::Separator()).replace(',', Decimal::Separator());
    return Decimal::Parse(t);
}
} // namespace

TTravelLimitsPanel::TTravelLimitsPanel(QWidget* parent) : QGroupBox(parent) {
    setObjectName("grpTravel");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    for (int n = 1; n <= 3; ++n) {
        const QString suffix = QString::number(n);
        chbTravel[n] = Named(new QCheckBox(this), "chbTravel" + suffix);
        fromLabels_[n] = new QLabel(this);
        edtTravelLow[n] = Named(new QLineEdit(this), "edtTravelLow" + suffix);
        toLabels_[n] = new QLabel(this);
        edtTravelHigh[n] = Named(new QLineEdit(this), "edtTravelHigh" + suffix);
        for (QLineEdit* edit : {edtTravelLow[n], edtTravelHigh[n]}) {
            edit->setMaxLength(24);
            edit->setFixedWidth(EditWidthFor("-10000000000"));
            connect(edit, &QLineEdit::editingFinished, this, &TTravelLimitsPanel::Take);
        }
        connect(chbTravel[n], &QCheckBox::toggled, this, &TTravelLimitsPanel::Take);
        grid->addWidget(chbTravel[n], n - 1, 0);
        grid->addWidget(fromLabels_[n], n - 1, 1);
        grid->addWidget(edtTravelLow[n], n - 1, 2);
        grid->addWidget(toLabels_[n], n - 1, 3);
        grid->addWidget(edtTravelHigh[n], n - 1, 4);
    }
    lblTravelProblem = Label("lblTravelProblem", {}, this);
    lblTravelProblem->setStyleSheet("color: #b00000");
    lblTravelProblem->setWordWrap(true);
    lblTravelProblem->hide();
    grid->addWidget(lblTravelProblem, 3, 0, 1, 5);
    grid->setColumnStretch(5, 1);
}

void TTravelLimitsPanel::Show(const TTravelLimits& limits, const TPreviewUnits& units, const TTexts& texts) {
    filling_ = true;
    // The numbers are written again only when they changed: an edit being typed stays.
    const bool values = !valuesShown_ || limits != shown_ || !(units == units_);
    valuesShown_ = true;
    shown_ = limits;
    units_ = units;
    setTitle(texts.title);
    for (int n = 1; n <= 3; ++n) {
        chbTravel[n]->setText(texts.channel.arg(n));
        fromLabels_[n]->setText(texts.from);
        toLabels_[n]->setText(texts.to);
        if (!values)
            continue;
        chbTravel[n]->setChecked(limits[n].on);
        edtTravelLow[n]->setText(units.Position(limits[n].low));
        edtTravelHigh[n]->setText(units.Position(limits[n].high));
    }
    lblTravelProblem->setText(texts.bad);
    if (values)
        lblTravelProblem->hide();
    filling_ = false;
}

void TTravelLimitsPanel::Take() {
    if (filling_)
        return;
    TTravelLimits limits = shown_;
    bool bad = false;
    for (int n = 1; n <= 3; ++n) {
        const auto low = ReadNumber(edtTravelLow[n]->text());
        const auto high = ReadNumber(edtTravelHigh[n]->text());
        limits[n].on = chbTravel[n]->isChecked();
        if (!low || !high || *low > *high) {
            bad = true;
            continue; // this channel keeps what it had
        }
        limits[n].low = units_.Steps(*low);
        limits[n].high = units_.Steps(*high);
    }
    lblTravelProblem->setVisible(bad);
    if (limits != shown_) {
        shown_ = limits;
        emit Edited(limits);
    }
}
