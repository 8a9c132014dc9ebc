#pragma once

#include "lang/CaptionTarget.h"
#include "operations/ChanReadThread.h"
#include "operations/ReadBack.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class TCommandList;
class TForm1;
class TStringGrid;

// "Read executing program": asks the controller for the program channel 1 holds (the buffer,
// with Direct Control), shows the reply as raw text and as a numbered list of commands, puts the
// list into the main command list for editing and sending again, and compares it with what the
// command list writes. At most one exists; not modal; released when closed, a read under way
// abandoned at once.
class TFormChanRead : public QDialog, public ICaptionTarget {
    Q_OBJECT
public:
    explicit TFormChanRead(TForm1& form);
    ~TFormChanRead() override;

    void FormCreate();
    void ApplyLanguage();
    void btnReadClick();
    void chbCodesClick();
    void btnAddToListClick();
    void btnCompareClick();
    // A read's end, on the main thread.
    void ReadDone(TChanReadThread::Outcome outcome);
    bool Reading() const { return thread_ != nullptr; }
    // The commands of the last read, as listed (MemoReaded).
    const TCommandList& Readed() const { return *readed_; }
    const TReadBack& LastRead() const { return lastRead_; }

    void SetCaption(const QString& objectName, int item, const QString& text) override;

    QPushButton* btnRead;
    QCheckBox* chbAddToEnd;
    QCheckBox* chbCodes;
    QPushButton* btnAddToList;
    QPushButton* btnCompare;
    TStringGrid* StringGridRead;
    QPlainTextEdit* MemoChan;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TForm1& form_;
    std::unique_ptr<TCommandList> readed_;
    std::unique_ptr<TChanReadThread> thread_;
    TReadBack lastRead_;
};
