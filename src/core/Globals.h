#pragma once

// The program's single objects, reachable from every window. The main window sets them while it
// is created and clears them when it is destroyed; logic classes receive references instead.
class TForm1;
class TCommonDatas;
class TComPort;
class TLang;

extern TForm1* Form1;
extern TCommonDatas* CommonDatas;
extern TComPort* ComPort;
extern TLang* Lang;
