// The main window's "Send" button: the command list goes to the session's transmission thread.
#include "Unit1.h"
#include "session/Session.h"

#include "widgets/LineList.h"

void TForm1::btnRunTRClick() {
    if (Session().SendCommandList() == TSession::SendStart::Started)
        MemoRead->Clear();
}
