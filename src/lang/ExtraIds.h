#pragma once

// Indices of the extra texts of the language table: the texts this program shows beyond the
// window texts, dialog texts and messages of the older language files. They live in a fourth,
// optional file per language (<code>ext.lng); a language without it shows them in English.
// Texts with %1, %2, ... are completed with QString::arg.
namespace Ext {
enum : int {
    CannotOpenPort = 1,    // "Cannot open port COM%1 (%2): %3."
    ConnectionLost = 2,    // "Connection lost on COM%1 (%2): the device hung up or was removed. ..."
    NoSuchDevice = 3,      // "no such device"
    PermissionDenied = 4,  // "permission denied; the user must be a member of the group dialout ..."
    PortBusy = 5,          // "port busy: another program holds it"
    NotSerialDevice = 6,   // "not a serial device"
    RescaleLimited = 7,    // "Line %1 (%2): the re-scaled value does not fit ... limited to %3."
    DirectControlBusy = 8, // "The previous command is still being sent. ..."
    FileTooLarge = 9,      // "The file is too large to be a program."
    DragRowHint = 10,      // "Drag to move the command"
    SaveUndone = 11,
    SaveHalfDone = 12,
    NotARegularFile = 13,
    TooManyLines = 14,
    FileCutShort = 15,
    FileZeroByte = 16,
    FileMixedEncodings = 17,
    LoadDamaged = 18,
    FaultyLines = 19,
    PortClosedNotSent = 20,
    FallbackDevice = 21,
    CloseWithoutSaving = 22,
    PortOpens = 23,
    DeviceMissing = 24,
    DeviceNoAccess = 25,
    DeviceReady = 26,
    DevicesPresent = 27,
    LinkDevice = 28,
    NoDevices = 29,
    LinkFailed = 30,
    ReadingImpossible = 31,
    NoCorrectProgram = 32,
    WrongCommandInReadList = 33,
    CompareWithList = 34,
    CompareSame = 35,
    CompareDiffers = 36,
    NothingThere = 37,
    ReadBackStopped = 38,
    SendingProgress = 39,
    StopSending = 40,
    SendingCompleted = 41,
    SendingStopped = 42,
    SendingEnded = 43,
    EndNoAnswer = 44,
    EndCommandError = 45,
    EndDataError = 46,
    EndCommunicationError = 47,
    EndPortClosed = 48,
    EndStopped = 49,
    Quit = 50,
    CmdUsage = 51,
    CmdDescription = 52,
    CmdOptions = 53,
    CmdHelp = 54,
    CmdVersion = 55,
    CmdFolder = 56,
    CmdPort = 57,
    CmdUnknownOption = 58,
    CmdMissingValue = 59,
    CmdBadPort = 60,
    CmdTryHelp = 61,
    FolderUnusable = 62,
    CmdUnexpectedArgument = 63,
    StatesLastKnown = 64,
    AlertRepeated = 65,
    FolderInUse = 66,
    CloseDuringRecording = 67,
    RecordingEndedOnClose = 68,
    PortsFolderIsLink = 69,
};
} // namespace Ext
