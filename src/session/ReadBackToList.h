#pragma once

#include "controller/ReadingBack.h"

class IOperationLog;
class TCommandList;
class TProgramEditor;

// What the operator does with a program read back from a controller: compares it with the
// command list (the verdict logged) and takes it over into the list. The controller reads and
// parses; the list is the workplace's.
class TReadBackToList {
public:
    TReadBackToList(TProgramEditor& editor, IOperationLog& log) : editor_(editor), log_(log) {}

    // `read` (parsed by `reading`) against the command list; the verdict logged, red when the
    // programs differ.
    TReadingBack::TVerdict Compare(TReadingBack& reading, const TReadBack& read);
    // "Add to the command list": the list replaced by the read's whole program (one step).
    void TakeOver(const TReadingBack& reading, const TCommandList& read, const TReadBack& parsed);

private:
    TProgramEditor& editor_;
    IOperationLog& log_;
};
