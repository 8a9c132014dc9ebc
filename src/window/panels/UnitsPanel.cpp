#include "UnitsPanel.h"

#include "core/Settings.h"
#include "session/OperatorSettings.h"

#include "widgets/Design.h"
#include "widgets/RadioGroup.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>

using namespace Design;

TUnitsPanel::TUnitsPanel(QWidget* parent) : TPanel("PanelUnits", parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    rgrUnits = new TRadioGroup("rgrUnits", "Units:", {"steps", "other units"}, 1, this);
    rgrUnits->SetItemIndex(0);
    row->addWidget(rgrUnits);

    GrBoxStepsToUnits = Named(new QGroupBox("Scale:", this), "GrBoxStepsToUnits");
    auto* grid = new QGridLayout(GrBoxStepsToUnits);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(2);
    Label3 = Label("Label3", "One unit =", GrBoxStepsToUnits);
    EditStepsToUnits = Edit("EditStepsToUnits", "1", 0, GrBoxStepsToUnits);
    EditStepsToUnits->setFixedWidth(80);
    btnScaleChange = Button("btnScaleChange", "Change", GrBoxStepsToUnits);
    lblScale = Label("lblScale", "1", GrBoxStepsToUnits);
    QFont bold = lblScale->font();
    bold.setBold(true);
    lblScale->setFont(bold);
    lblScale->setStyleSheet("color: red");
    lblSteps = Label("lblSteps", "steps", GrBoxStepsToUnits);
    lblTrunc = Label("lblTrunc", "Decreasing rounding", GrBoxStepsToUnits);
    lblTrunc->setWordWrap(true);
    grid->addWidget(Label3, 0, 0);
    grid->addWidget(EditStepsToUnits, 0, 1);
    grid->addWidget(btnScaleChange, 0, 2);
    grid->addWidget(lblScale, 1, 0);
    grid->addWidget(lblSteps, 1, 1);
    grid->addWidget(lblTrunc, 2, 0, 1, 3);
    EnableScale(false);
    row->addWidget(GrBoxStepsToUnits, 1);
}

void TUnitsPanel::ShowScale(const QString& scaleText, const QString& groupCaption, const QString& unitLabel) {
    lblScale->setText(scaleText);
    EditStepsToUnits->setText(scaleText);
    GrBoxStepsToUnits->setTitle(groupCaption);
    Label3->setText(unitLabel);
}

void TUnitsPanel::ShowRounding(const QString& text) {
    lblTrunc->setText(text);
}

void TUnitsPanel::EnableScale(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{GrBoxStepsToUnits, Label3, EditStepsToUnits, lblSteps,
                                                      lblTrunc, btnScaleChange, lblScale})
        w->setEnabled(on);
}

QString TUnitsPanel::ScaleText() const {
    return EditStepsToUnits->text();
}

void TUnitsPanel::FollowUnitsMode(const TOperatorSettings& options) {
    connect(&options, &TOperatorSettings::ShownValuesChanged, this, [this, &options] {
        const quint8 mode = options.Settings().UnitsMode;
        if (rgrUnits->ItemIndex() == mode)
            return;
        rgrUnits->SetItemIndex(mode);
        EnableScale(mode == TSettings::OtherUnits);
    });
}
