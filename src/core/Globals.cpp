#include "Globals.h"

TForm1* Form1 = nullptr;
TCommonDatas* CommonDatas = nullptr;
TComPort* ComPort = nullptr;
TLang* Lang = nullptr;
