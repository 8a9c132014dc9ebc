#pragma once

// Indices of the message list of the language table that the program's code shows by name.
namespace Msg {
enum : int {
    FilePrefix = 1,             // " *File"
    NotFoundOrDamaged = 2,      // " *not found or damaged!"
    PortPrefix = 3,             // "*port: "
    ErrorOpeningPort = 4,       // "*Error opening port"
    Bits = 5,                   // "*bit, "
    StopBits = 6,               // "*stop-bit: "
    ParityNone = 7,             // "*parity: none; " (8..11 follow for odd, even, 1, 0)
    DataTransferError = 12,     // "*Data transfer error!"
    TransferNotReady = 13,      // "*Data transfer function is not ready. ..."
    ParameterIncorrect = 14,    // "*Parameter value is incorrect"
    WrongCommandInList = 15,    // "*There is a wrong command in the commands list!"
    FileNameIncorrect = 16,     // "*File name incorrect"
    AboutSoftware = 17,         // "*Software KVT_Program"
    AboutQuestions = 18,        // " *If have any questions, ..."
    AboutIntended = 19,         // "* is intended for controllers TRVA series."
    ScaleIncorrect = 20,        // "*Units scale value is incorrect."
    SetCorrectPort = 21,        // "*Please, set correct port number"
    NoReply = 22,               // "*No reply from the controller!"
    LanguageDamaged = 23,       // "*One of language files is damaged."
    NotInStandby = 24,          // "*Controller is not in a standby mode"
    SetLanguage = 25,           // "* Set language \""
    RecoveryStarted = 26,       // "*Error recovering started"
    RecordingToCoordinate = 28, // "*Program recording to coordinate"
    Completed = 29,             // "* completed "
    Coordinate = 30,            // "*Coordinate "
    InCommunicationMode = 31,   // "* is in communication mode"
    ExecutingStarted = 32,      // "*: program executing started"
    Suspended = 33,             // "*Program executing is suspended. Chanel "
    ProgramError = 34,          // "*Program error - coordinate"
    ExecutingCompleted = 35,    // "*: Program executing completed"
    IncorrectCommand = 37,      // "*Error - incorrect command!"
    Resumed = 38,               // "*Resume program executing - coordinate"
    IncorrectData = 39,         // "*Error - incorrect command data!"
    RecoveryClearMarks = 40,    // "*Error recovering: clear program buffers and labels"
    RecoveryBreakComm = 41,     // "*Error recovering: stop controller communication mode"
    CommandIncorrect = 42,      // "*!!!Command incorrect!!!" (first of the command texts, 42..85)
};
} // namespace Msg
