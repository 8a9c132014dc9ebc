#include "ProgramEditor.h"

#include "OperatorSettings.h"
#include "controller/Sending.h"
#include "core/OperationLog.h"
#include "core/UnitCommonDatas.h"
#include "editor/AddCommand.h"
#include "editor/CommandList.h"
#include "editor/Rescale.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "lang/MessageIds.h"
#include "protocol/UnitKVTComands.h"

#include <algorithm>
#include <optional>

TProgramEditor::TProgramEditor(TCommonDatas& datas, TOperatorSettings& settings, TSending& sending,
                               IOperationLog& log)
    : QObject(nullptr), datas_(datas), settings_(settings), sending_(sending), log_(log),
      list_(std::make_unique<TCommandList>("MemoSend")),
      steps_([this] { return State(); },
             [this](const TListState& before, const TListState& after, int whose) {
                 emit StepTaken(before, after);
                 if (whose != Programs)
                     emit OperatorChanged(whose == OperatorsOfNoFile);
             }) {
    qRegisterMetaType<TListState>();
}

TProgramEditor::~TProgramEditor() = default;

TProgramEditor::TAddOutcome TProgramEditor::AddCommand(int index, const QString& argument) {
    if (!datas_.Settings().DirectControl) {
        const TStep step(steps_, Operators);
        const TMadeCommand made =
            ::AddCommand(settings_.Commands(), datas_.Settings(), index, argument, *list_);
        return made ? TAddOutcome{} : TAddOutcome{TAddOutcome::Refused, made.refusal};
    }
    // Direct Control: the command is sent, not kept. It could not be sent now; adding it
    // silently would let the operator believe it had been.
    if (sending_.IsSending())
        return {TAddOutcome::Busy, {}};
    emit ProgramReplacing();
    ClearList();
    const TMadeCommand made = ::AddCommand(settings_.Commands(), datas_.Settings(), index, argument, *list_);
    if (!made)
        return {TAddOutcome::Refused, made.refusal};
    sending_.Send(list_->Lines(), TSending::Kind::DirectCommand);
    return {};
}

TProgramEditor::TAddOutcome TProgramEditor::AddRecordingStart(int channel) {
    const TSettings& settings = datas_.Settings();
    if (settings.DirectControl)
        return AddCommand(TKVTCommands::LD, QString::number(channel)); // sent alone
    const TStep step(steps_, Operators);
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
    const TStep step(steps_, Operators);
    ClearList();
}

void TProgramEditor::ClearList() {
    list_->Clear();
    SetFaulty(false);
    emit ListCleared();
}

void TProgramEditor::Remove(QList<int> indices) {
    const TStep step(steps_, Operators);
    std::sort(indices.begin(), indices.end(), std::greater<>());
    for (const int index : indices)
        list_->Remove(index);
}

void TProgramEditor::Move(int from, int to) {
    const TStep step(steps_, Operators);
    list_->Drag(from, to);
}

void TProgramEditor::Replace(const QStringList& lines, const QStringList& descriptions, Source source,
                             bool wrongCommand) {
    const TStep step(steps_, source == Source::Load ? Operators : OperatorsOfNoFile);
    if (source == Source::ReadBack) {
        if (wrongCommand)
            log_.AddLogLine(settings_.Lang().ExtraText(Ext::WrongCommandInReadList), true);
        ClearList();
        SetFaulty(wrongCommand);
        list_->SetProgram(lines, descriptions);
        return;
    }
    list_->SetProgram(lines, descriptions);
    const QString warning = list_->FaultyWarning(settings_.Lang());
    SetFaulty(!warning.isEmpty());
    if (!warning.isEmpty())
        log_.AddLogLine(warning, true);
}

void TProgramEditor::SetInsertPoint(int index) {
    list_->SetInsertPoint(index);
}

void TProgramEditor::Change(const std::function<void(TCommandList&)>& change) {
    const TStep step(steps_, Operators);
    change(*list_);
}

void TProgramEditor::SetFaulty(bool faulty) {
    faulty_ = faulty;
    emit ListFaultyChanged(faulty);
}

TScaleChange TProgramEditor::ChangeUnitsMode(quint8 mode, const QString& scaleText) {
    const TStep step(steps_, Operators);
    const QStringList before = list_->Lines();
    const TListState was = State();
    datas_.SetUnitsMode(mode);
    TScaleChange change;
    if (mode == TSettings::StepsUnits)
        datas_.SetScale(1); // the list stays as it is
    else {
        change = ApplyScaleText(scaleText, *list_, datas_.Settings());
        datas_.SetScale(change.scale);
    }
    settings_.RebuildCommandTable(); // the table's units texts first: the descriptions take them
    const TListState now = State();
    if (now.unitsMode != was.unitsMode || now.scale != was.scale) {
        DescribeMotionInUnits(*list_, settings_.Commands(), datas_.Settings());
        for (const auto& [text, red] :
             RescaleReport(before, *list_, change, datas_.Settings(), settings_.Lang()))
            log_.AddLogLine(text, red);
    }
    return change;
}

void TProgramEditor::SetDirectControl(bool on) {
    emit ProgramReplacing();
    const TStep step(steps_, Programs); // an undo may bring the list back
    datas_.SetDirectControl(on);
    ClearList();
}

void TProgramEditor::SetControlMode(quint8 mode) {
    emit ProgramReplacing();
    // The switch to the simple mode is a step (an undo back in the extended mode brings the
    // list back); what the simple mode's buttons put into the list is not the operator's.
    std::optional<TStep> step;
    if (mode == TSettings::SimpleMode)
        step.emplace(steps_, Programs);
    datas_.SetControlMode(mode);
    ClearList();
}

TProgramEditor::TListState TProgramEditor::State() const {
    return {list_->Lines(), list_->Descriptions(), faulty_, datas_.Settings().UnitsMode,
            datas_.Settings().Scale};
}

void TProgramEditor::Restore(const TListState& state) {
    if (state.unitsMode != datas_.Settings().UnitsMode || state.scale != datas_.Settings().Scale) {
        datas_.SetUnitsMode(state.unitsMode);
        datas_.SetScale(state.scale);
        settings_.RebuildCommandTable();
    }
    list_->SetProgram(state.lines, state.descriptions);
    SetFaulty(state.faulty);
    emit OperatorChanged(false);
}
