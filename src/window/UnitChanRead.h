#pragma once

#include "TranslatedDialog.h"
#include "operations/ChanReadThread.h"
#include "operations/ReadBack.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TCommandList;
class TReadBackToList;
class TReadingBack;
class TStringGrid;

// "Read executing program": asks the controller, through the read-back room, for the program a
// channel holds (channel 1, or the buffer with Direct Control, unless the operator chooses another
// channel), shows the reply as raw text and as a numbered list of commands, puts the list into the
// main command list for editing and sending again, and compares it with what the command list
// writes for that channel. At most one exists; not modal; released when closed, a read under way
// abandoned at once.
class TFormChanRead : public TTranslatedDialog {
    Q_OBJECT
public:
    TFormChanRead(TOperatorSettings& options, TReadingBack& reading, TReadBackToList& toList,
                  QWidget* parent);
    ~TFormChanRead() override;

    void btnReadClick();
    void chbCodesClick();
    void btnAddToListClick();
    void btnCompareClick();
    // A read's end.
    void ReadDone(TChanReadThread::Outcome outcome, const QString& text);
    // The commands of the last read, as listed (MemoReaded).
    const TCommandList& Readed() const { return *readed_; }
    const TReadBack& LastRead() const { return lastRead_; }

    QPushButton* btnRead;
    QCheckBox* chbAddToEnd;
    QCheckBox* chbCodes;
    QPushButton* btnAddToList;
    QPushButton* btnCompare;
    QLabel* lblReadWhich;
    QComboBox* cbReadWhich;    // channel 1, 2 or 3, or the buffer
    QLabel* lblCompareVerdict; // what the last comparison found
    TStringGrid* StringGridRead;
    QPlainTextEdit* MemoChan;

protected:
    void Fill() override;
    void closeEvent(QCloseEvent* event) override;

private:
    TReadingBack& reading_;
    TReadBackToList& toList_;
    std::unique_ptr<TCommandList> readed_;
    TReadBack lastRead_;
    bool whichChosen_ = false; // the operator picked the program to read; else it follows Direct Control
    bool read_ = false;        // a read has been parsed

    void ShowVerdict(const QString& text, bool red);
};
