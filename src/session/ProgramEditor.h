#pragma once

#include "editor/NestedSteps.h"
#include "editor/Rescale.h"

#include <QObject>
#include <QStringList>

#include <memory>

class TCommandList;
class TCommonDatas;
class TKVTCommands;
class TLang;
class TOperatorSettings;
class TSending;
class IOperationLog;

// The command list the operator edits, and what is edited with it: commands added (in Direct
// Control each sent at once), removed, moved, cleared; the list replaced by a load, an import or
// a read-back; the units and the scale. (The preview and the questions before a sending are
// preview/'s.)
//
// Each operation of the operator is one step (StepTaken, with the list before and after), which
// the undo history keeps; a clear the program makes by itself says so first (ProgramReplacing),
// so that the operator's list it replaces is kept aside as the work a question offers.
class TProgramEditor : public QObject {
    Q_OBJECT
public:
    // The list as a value (its lines share their text with the list): what a step keeps.
    // The units go with it: a change of the scale re-scales the lines, and one undo brings back
    // the lines and the units together.
    struct TListState {
        QStringList lines, descriptions;
        bool faulty = false;
        quint8 unitsMode = 0;
        double scale = 1;
        bool operator==(const TListState&) const = default;
    };
    struct TAddOutcome {
        enum Kind { Added, Refused, Busy } kind = Added;
        QString refusal; // Refused: the range message
    };
    // Where a whole new list comes from: a program file, a text file, the controller.
    enum class Source { Load, Import, ReadBack };

    // The language and the vocabulary are the operator settings' (Lang(), Commands()).
    TProgramEditor(TCommonDatas& datas, TOperatorSettings& settings, TSending& sending, IOperationLog& log);
    ~TProgramEditor() override;

    // The command list (MemoSend): what "Send" sends, what the grid shows.
    const TCommandList& List() const { return *list_; }
    // A list with a wrong command in it may not be sent.
    bool ListFaulty() const { return faulty_; }

    // A command from the editor (argument in the operator's units, "no" for none). In Direct
    // Control the list is cleared and the command sent at once (Busy while something is being
    // sent). An argument that must be whole but is not throws EConvertError.
    TAddOutcome AddCommand(int index, const QString& argument);
    // LD `channel`, then BG and EN as the settings ask (not in Direct Control): one step.
    TAddOutcome AddRecordingStart(int channel);
    // "Clear all": the list emptied and no longer faulty.
    void Clear();
    // Removes the commands at `indices` (any order), as one step.
    void Remove(QList<int> indices);
    // Moves command `from` to position `to`; `to` one past the last command removes it.
    void Move(int from, int to);
    // Where commands are added: before command `index`, or at the end (-1).
    void SetInsertPoint(int index);
    // Any other change of the operator's to the list (a paste, a line edited), as one step.
    void Change(const std::function<void(TCommandList&)>& change);
    // Replaces the list, as one step. Wrong commands make it faulty (one red log line naming the
    // first of them; a read-back's own words for one read back).
    void Replace(const QStringList& lines, const QStringList& descriptions = {}, Source source = Source::Load,
                 bool wrongCommand = false);
    // Steps (scale 1, the list as it is) or other units (the scale typed, the list re-scaled by
    // new / old). The descriptions of the motion lines follow the new unit; the log says how
    // many lines were re-scaled and names, in red, each that now lies beyond what its command
    // takes. One step, the units with it. (A new scale: the mode as it is.)
    TScaleChange ChangeUnitsMode(quint8 mode, const QString& scaleText);
    // Each clears the list, a clear of the program's own.
    void SetDirectControl(bool on);
    void SetControlMode(quint8 mode);

    // The list as a value, and set back to such a value (an undo or redo: not a step).
    TListState State() const;
    void Restore(const TListState& state);

signals:
    // One operation of the operator's (or a clear of the program's that an undo may take back).
    void StepTaken(const TProgramEditor::TListState& before, const TProgramEditor::TListState& after);
    // The operator changed the list (an edit, an undo, a load); `noFile` for an import and a
    // read-back, whose list is no file's.
    void OperatorChanged(bool noFile);
    // The program is about to replace the list by a list of its own.
    void ProgramReplacing();
    // "Clear all", or a clear that stands for it.
    void ListCleared();
    void ListFaultyChanged(bool faulty);

private:
    // Whose a step is: the operator's tells that the list is the operator's work (of a file, or
    // of no file); the program's does not.
    enum Whose { Operators, OperatorsOfNoFile, Programs };
    using TStep = TNestedSteps<TListState>::TStep;
    void ClearList();
    void SetFaulty(bool faulty);

    TCommonDatas& datas_;
    TOperatorSettings& settings_;
    TSending& sending_;
    IOperationLog& log_;
    std::unique_ptr<TCommandList> list_;
    bool faulty_ = false;
    TNestedSteps<TListState> steps_;
};

Q_DECLARE_METATYPE(TProgramEditor::TListState)
