#include "ProgramEditor.h"

#include "OperatorSettings.h"
#include "Sending.h"
#include "core/OperationLog.h"
#include "core/ShownText.h"
#include "core/UnitCommonDatas.h"
#include "editor/AddCommand.h"
#include "editor/CommandList.h"
#include "editor/OpenRecording.h"
#include "editor/Rescale.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "operations/SimpleModeLists.h"
#include "protocol/UnitKVTComands.h"

#include <algorithm>

// One step: the list before, and after, an operation (steps within steps make one). A step of
// the operator's tells that the list is the operator's work; one of the program's does not.
class TProgramEditor::TStep {
public:
    enum Whose { Operators, OperatorsOfNoFile, Programs };
    TStep(TProgramEditor& editor, Whose whose) : editor_(editor), whose_(whose) {
        if (editor_.depth_++ == 0)
            before_ = editor_.State();
    }
    ~TStep() {
        if (--editor_.depth_ > 0)
            return;
        const TListState after = editor_.State();
        if (after == before_)
            return;
        emit editor_.StepTaken(before_, after);
        if (whose_ != Programs)
            emit editor_.OperatorChanged(whose_ == OperatorsOfNoFile);
    }
    TStep(const TStep&) = delete;
    TStep& operator=(const TStep&) = delete;

private:
    TProgramEditor& editor_;
    Whose whose_;
    TListState before_;
};

TProgramEditor::TProgramEditor(TCommonDatas& datas, const TLang& lang, TKVTCommands& commands,
                               TOperatorSettings& settings, TSending& sending, IOperationLog& log)
    : QObject(nullptr), datas_(datas), lang_(lang), commands_(commands), settings_(settings),
      sending_(sending), log_(log), list_(std::make_unique<TCommandList>("MemoSend")) {
    qRegisterMetaType<TListState>();
}

TProgramEditor::~TProgramEditor() = default;

TProgramEditor::TAddOutcome TProgramEditor::AddCommand(int index, const QString& argument) {
    if (!datas_.Settings().DirectControl) {
        const TStep step(*this, TStep::Operators);
        const TMadeCommand made = ::AddCommand(commands_, datas_, index, argument, *list_);
        return made ? TAddOutcome{} : TAddOutcome{TAddOutcome::Refused, made.refusal};
    }
    // Direct Control: the command is sent, not kept. It could not be sent now; adding it
    // silently would let the operator believe it had been.
    if (sending_.IsSending())
        return {TAddOutcome::Busy, {}};
    emit ProgramReplacing();
    ClearList();
    const TMadeCommand made = ::AddCommand(commands_, datas_, index, argument, *list_);
    if (!made)
        return {TAddOutcome::Refused, made.refusal};
    sending_.Send(list_->Lines(), TSending::Kind::DirectCommand);
    return {};
}

TProgramEditor::TAddOutcome TProgramEditor::AddRecordingStart(int channel) {
    const TSettings& settings = datas_.Settings();
    if (settings.DirectControl)
        return AddCommand(TKVTCommands::LD, QString::number(channel)); // sent alone
    const TStep step(*this, TStep::Operators);
    const TAddOutcome load = AddCommand(TKVTCommands::LD, QString::number(channel));
    if (load.kind != TAddOutcome::Added)
        return load;
    if (settings.AutoAddBG)
        AddCommand(TKVTCommands::BG, "no");
    if (settings.AutoAddEN)
        AddCommand(TKVTCommands::EN, "no");
    return load;
}

void TProgramEditor::Clear() {
    const TStep step(*this, TStep::Operators);
    ClearList();
}

void TProgramEditor::ClearList() {
    list_->Clear();
    SetFaulty(false);
    emit ListCleared();
}

void TProgramEditor::Remove(QList<int> indices) {
    const TStep step(*this, TStep::Operators);
    std::sort(indices.begin(), indices.end(), std::greater<>());
    for (const int index : indices)
        list_->Remove(index);
}

void TProgramEditor::Move(int from, int to) {
    const TStep step(*this, TStep::Operators);
    list_->Drag(from, to);
}

void TProgramEditor::Replace(const QStringList& lines, const QStringList& descriptions, Source source,
                             bool wrongCommand) {
    const TStep step(*this, source == Source::Load ? TStep::Operators : TStep::OperatorsOfNoFile);
    if (source == Source::ReadBack) {
        if (wrongCommand)
            log_.AddLogLine(lang_.ExtraText(Ext::WrongCommandInReadList), true);
        ClearList();
        SetFaulty(wrongCommand);
        list_->SetProgram(lines, descriptions);
        return;
    }
    list_->SetProgram(lines, descriptions);
    // One warning, however many lines are wrong: the first of them and their number.
    const int faulty = list_->FirstFaultyLine();
    SetFaulty(faulty >= 0);
    if (faulty >= 0) {
        log_.AddLogLine(lang_.Message(Msg::WrongCommandInList) + ' ' +
                            lang_.ExtraText(Ext::FaultyLines)
                                .arg(faulty + 1)
                                .arg(Shown(list_->Line(faulty)))
                                .arg(list_->FaultyLineCount()),
                        true);
    }
}

void TProgramEditor::SetFaulty(bool faulty) {
    faulty_ = faulty;
    emit ListFaultyChanged(faulty);
}

TProgramEditor::TScaleChange TProgramEditor::ChangeUnitsMode(quint8 mode, const QString& scaleText) {
    const TStep step(*this, TStep::Operators);
    datas_.SetUnitsMode(mode);
    TScaleChange change;
    if (mode == TSettings::StepsUnits)
        datas_.SetScale(1); // the list stays as it is
    else
        change = ApplyScaleText(scaleText);
    settings_.RebuildCommandTable();
    return change;
}

TProgramEditor::TScaleChange TProgramEditor::ChangeScale(const QString& scaleText) {
    const TStep step(*this, TStep::Operators);
    const TScaleChange change = ApplyScaleText(scaleText);
    settings_.RebuildCommandTable();
    return change;
}

TProgramEditor::TScaleChange TProgramEditor::ApplyScaleText(const QString& scaleText) {
    TScaleChange change;
    const double old = datas_.Settings().Scale;
    // A point and a comma both separate the decimals, whatever the system's separator.
    const auto scale = ParseScaleText(scaleText);
    change.badScale = !scale;
    datas_.SetScale(scale.value_or(1));
    if (list_->IsEmpty())
        return change;
    const TRescaleResult result = RescaleCommandList(*list_, datas_.Settings().Scale / old, datas_);
    for (int line : result.saturated) {
        log_.AddLogLine(lang_.ExtraText(Ext::RescaleLimited)
                            .arg(line + 1)
                            .arg(list_->Line(line).left(2), Shown(list_->Line(line).mid(2))),
                        true);
    }
    if (!result.complete)
        change.notWhole = result.badArgument;
    return change;
}

void TProgramEditor::SetDirectControl(bool on) {
    emit ProgramReplacing();
    const TStep step(*this, TStep::Programs); // an undo may bring the list back
    datas_.SetDirectControl(on);
    ClearList();
}

void TProgramEditor::SetControlMode(quint8 mode) {
    emit ProgramReplacing();
    // The switch to the simple mode is a step (an undo back in the extended mode brings the
    // list back); what the simple mode's buttons put into the list is not the operator's.
    std::optional<TStep> step;
    if (mode == TSettings::SimpleMode)
        step.emplace(*this, TStep::Programs);
    datas_.SetControlMode(mode);
    ClearList();
}

QStringList TProgramEditor::PrepareSimpleList(SimpleAction action, const TMotion& motion) {
    list_->Clear();
    TSimpleModeLists lists(commands_, datas_, *list_);
    switch (action) {
    case SimpleAction::Write:
        lists.BuildWriteList(motion);
        break;
    case SimpleAction::Start:
        lists.BuildStartList();
        break;
    case SimpleAction::Stop:
        datas_.ProgramRunning = true;
        lists.BuildStopList();
        break;
    case SimpleAction::WriteAndStart:
        lists.BuildWriteList(motion);
        lists.BuildStartList();
        break;
    }
    return lists.Refusals();
}

TProgramEditor::TListState TProgramEditor::State() const {
    return {list_->Lines(), list_->Descriptions(), faulty_};
}

void TProgramEditor::Restore(const TListState& state) {
    list_->SetProgram(state.lines, state.descriptions);
    SetFaulty(state.faulty);
    emit OperatorChanged(false);
}

Preview::TListPreview TProgramEditor::PreviewOfList() const {
    return PreviewOf(list_->Lines());
}

Preview::TListPreview TProgramEditor::PreviewOf(const QStringList& lines) const {
    return Preview::PreviewList(lines, datas_.Settings().Travel);
}

TPreviewUnits TProgramEditor::PreviewUnits() const {
    const TSettings& s = datas_.Settings();
    const bool steps = s.UnitsMode == TSettings::StepsUnits;
    return {steps, steps ? 1.0 : s.Scale, steps ? lang_.ExtraText(Ext::PreviewSteps) : s.UnitsName};
}

QString TProgramEditor::TravelQuestion() const {
    const TTravelLimits& travel = datas_.Settings().Travel;
    if (std::none_of(travel.begin(), travel.end(), [](const TTravelLimit& t) { return t.on; }))
        return {};
    const Preview::TListPreview preview = PreviewOfList();
    const Preview::TProgram* program = preview.FirstLeavingTravel();
    if (!program)
        return {};
    const TPreviewUnits units = PreviewUnits();
    const TTravelLimit& t = travel[size_t(program->channel)];
    const int line = program->leavesTravelAt;
    return lang_.ExtraText(Ext::TravelAskBeforeSend)
        .arg(QString::number(line + 1), Shown(list_->Line(line)), QString::number(program->channel),
             units.Position(program->leavesTravelTo), units.Position(t.low), units.Position(t.high));
}

QString TProgramEditor::OpenRecordingQuestion() const {
    const auto open = OpenRecordingAtEnd(list_->Lines());
    if (!open)
        return {};
    return lang_.ExtraText(Ext::AskSendOpenRecording).arg(open->channel).arg(open->line + 1);
}
