#pragma once

// The editor's own: included by ProgramEditor.cpp alone, after ProgramEditor.h.

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

private:
    TProgramEditor& editor_;
    Whose whose_;
    TListState before_;
};
