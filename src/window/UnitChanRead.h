#pragma once

#include "LangDialog.h"
#include "operations/ChanReadThread.h"
#include "operations/ReadBack.h"

#include <memory>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class TCommandList;
class TStringGrid;

// "Read executing program": asks the controller, through the session, for the program channel 1
// holds (the buffer, with Direct Control), shows the reply as raw text and as a numbered list of
// commands, puts the list into the main command list for editing and sending again, and
// compares it with what the command list writes. At most one exists; not modal; released when
// closed, a read under way abandoned at once.
class TFormChanRead : public TLangDialog {
    Q_OBJECT
public:
    TFormChanRead(TSession& session, QWidget* parent);
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
    TStringGrid* StringGridRead;
    QPlainTextEdit* MemoChan;

signals:
    // "Add to the command list" is about to replace the list, and has replaced it.
    void ListReplaceBegins();
    void ListReplaceEnds();

protected:
    void Fill() override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<TCommandList> readed_;
    TReadBack lastRead_;
};
