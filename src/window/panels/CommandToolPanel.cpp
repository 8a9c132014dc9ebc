#include "CommandToolPanel.h"

#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "protocol/UnitKVTComands.h"
#include "widgets/Design.h"
#include "widgets/SplitToolButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>

using namespace Design;
using K = TKVTCommands;

namespace {

// Commands with an argument: a button and the edit that holds its argument, two per row;
// the left column holds the large arguments, the right one values of three digits at most.
// Where a bad argument is answered with "Parameter value is incorrect", `checked` is set.
const struct TWithArgument {
    int index;
    const char* name;
    const char* caption;
    const char* hint;
    int hintText;
    const char* editName;
    const char* text;
    bool checked;
} kWithArgument[] = {
    {K::AL, "btnAL", "AL", "Acceleration/deceleration", Ext::HintAL, "EditAL", "0", true},
    {K::SF, "btnSF", "SF", "Set signal (close relay)", Ext::HintSF, "EditSF", "1", false},
    {K::SD, "btnSD", "SD", "Maximum speed", Ext::HintSD, "EditSD", "200", true},
    {K::CF, "btnCF", "CF", "Clear signal (open relay)", Ext::HintCF, "EditCF", "1", false},
    {K::SS, "btnSS", "SS", "Start speed", Ext::HintSS, "EditSS", "1", true},
    {K::WL, "btnWL", "WL", "Wait until signal to input 1", Ext::HintWL, "EditWL", "1", false},
    {K::MV, "btnMVn", "MV n", "Move step number", Ext::HintMVn, "EditMVn", "10000000", true},
    {K::WH, "btnWH", "WH", "Wait until signal to input 2", Ext::HintWH, "EditWH", "1", false},
    {K::SP, "btnSP", "SP", "Pause, ms", Ext::HintSP, "EditSP", "10000000", true},
    {K::JP, "btnLP", "JP", "Repeat from label", Ext::HintJP, "EditJP", "255", true},
    {K::ML, "btnML", "ML", "Move until signal to input 1", Ext::HintML, "EditML", "1", false},
    {K::SB, "btnSB", "SB", "", Ext::HintSB, "EditSB", "250", true},
    {K::MH, "btnMH", "MH", "Move until signal to input 2", Ext::HintMH, "EditMh", "1", false},
};

} // namespace

bool TCommandToolPanel::ReportsParameterError(int index) {
    for (const auto& c : kWithArgument) {
        if (c.index == index)
            return c.checked;
    }
    return false;
}

QToolButton* TCommandToolPanel::AddTool(int index, const char* name, const QString& caption,
                                        const QString& hint, int hintText, QLineEdit* edit,
                                        bool reportsParameterError, QToolButton* made) {
    QToolButton* button = Tool(name, caption, this, made);
    button->setToolTip(hint);
    hints_.push_back({button, hintText});
    connect(button, &QToolButton::clicked, this, [this, index, edit, reportsParameterError] {
        emit CommandChosen(index, edit ? edit->text() : QString("no"), reportsParameterError);
    });
    // Enter in the argument's edit adds the command, as its button does.
    if (edit)
        connect(edit, &QLineEdit::returnPressed, button, &QToolButton::click);
    return button;
}

void TCommandToolPanel::AddChannelMenu(QToolButton* button, const QString& code, bool allChannels,
                                       const std::function<void(const QString&)>& chosen) {
    auto* menu = new QMenu(button);
    menu->setObjectName(button->objectName() + "Channels");
    if (allChannels)
        connect(menu->addAction(code), &QAction::triggered, this, [chosen] { chosen("no"); });
    for (int channel = 1; channel <= 3; ++channel) {
        const QString n = QString::number(channel);
        connect(menu->addAction(code + n), &QAction::triggered, this, [chosen, n] { chosen(n); });
    }
    button->setMenu(menu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
}

TCommandToolPanel::TCommandToolPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("pnlTools");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);

    int i = 0;
    for (const auto& c : kWithArgument) {
        QLineEdit* edit = Edit(c.editName, c.text, 0, this);
        edit->setFixedWidth(EditWidthFor(i % 2 == 0 ? "10000000" : "255"));
        grid->addWidget(AddTool(c.index, c.name, c.caption, c.hint, c.hintText, edit, c.checked), i / 2,
                        (i % 2) * 2);
        grid->addWidget(edit, i / 2, (i % 2) * 2 + 1);
        ++i;
    }
    const int row = (i + 1) / 2;

    // Commands without an argument, in rows of four.
    const struct {
        int index;
        const char* name;
        const char* caption;
        const char* hint;
        int hintText;
    } plain[] = {
        {K::BG, "btnBG", "BG", "Begin program", Ext::HintBG},
        {K::EN, "btnEN", "EN", "Allow motion", Ext::HintEN},
        {K::DS, "btnDS", "DS", "Prohibit motion", Ext::HintDS},
        {K::MV, "btnMV", "MV", "permanent motion", Ext::HintMV},
        {K::DL, "btnDL", "DL", "Motion forward", Ext::HintDL},
        {K::DR, "btnDR", "DR", "Motion backward", Ext::HintDR},
        {K::RS, "btnRS", "RS", "Reverse motion", Ext::HintRS},
        {K::HM, "bthHM", "HM", "Move to zero switch", Ext::HintHM},
        {K::LL, "btnLL", "LL", "Set cycle label", Ext::HintLL},
        {K::LB, "btnLB", "LB", "", Ext::HintLB},
    };
    auto* plainGrid = new QGridLayout;
    plainGrid->setSpacing(2);
    i = 0;
    for (const auto& c : plain) {
        plainGrid->addWidget(AddTool(c.index, c.name, c.caption, c.hint, c.hintText, nullptr, false), i / 4,
                             i % 4);
        ++i;
    }
    grid->addLayout(plainGrid, row, 0, 1, 4);

    // Program management at the bottom of the tool panel.
    QFrame* main = Frame("pnlMainTools", this);
    auto* mainRow = Design::Spaced(new QHBoxLayout(main), 2, 2);
    QToolButton* ld1 = Tool("btnLD1", "LD1", main, new TSplitToolButton(main));
    ld1->setToolTip("Load program to coordinate 1");
    hints_.push_back({ld1, Ext::HintLD1});
    connect(ld1, &QToolButton::clicked, this, [this] { emit RecordingStartChosen(1); });
    AddChannelMenu(ld1, "LD", false, [this](const QString& n) { emit RecordingStartChosen(n.toInt()); });
    QToolButton* ps1 = Tool("btnPS1", "PS1", main, new TSplitToolButton(main));
    hints_.push_back({ps1, Ext::HintPS1});
    connect(ps1, &QToolButton::clicked, this, [this] { emit CommandChosen(K::PS, "1", false); });
    AddChannelMenu(ps1, "PS", false, [this](const QString& n) { emit CommandChosen(K::PS, n, false); });
    QToolButton* st =
        AddTool(K::ST, "btnST", "ST", "Start/Stop", Ext::HintST, nullptr, false, new TSplitToolButton(main));
    AddChannelMenu(st, "ST", true, [this](const QString& n) { emit CommandChosen(K::ST, n, false); });
    mainRow->addWidget(ld1);
    mainRow->addWidget(AddTool(K::ED, "btnED", "ED", "End programming", Ext::HintED, nullptr, false));
    mainRow->addWidget(st);
    mainRow->addWidget(ps1);
    grid->addWidget(main, row + 1, 0, 1, 4);
    grid->setRowStretch(row + 2, 1);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void TCommandToolPanel::ApplyTexts(const TLang& lang) {
    for (const auto& [button, text] : hints_)
        button->setToolTip(lang.ExtraText(text));
}
