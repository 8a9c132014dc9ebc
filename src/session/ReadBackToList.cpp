#include "ReadBackToList.h"

#include "ProgramEditor.h"
#include "core/OperationLog.h"
#include "editor/CommandList.h"

TReadingBack::TVerdict TReadBackToList::Compare(TReadingBack& reading, const TReadBack& read) {
    TReadingBack::TVerdict verdict = reading.Compare(read, editor_.List().Lines());
    log_.AddLogLine(verdict.text, !verdict.comparison.same);
    return verdict;
}

void TReadBackToList::TakeOver(const TReadingBack& reading, const TCommandList& read,
                               const TReadBack& parsed) {
    const TFileTie::TText program = reading.WholeProgram(read, parsed);
    editor_.Replace(program.lines, program.descriptions, TProgramEditor::Source::ReadBack,
                    parsed.wrongCommand);
}
