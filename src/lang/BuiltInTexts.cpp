#include "BuiltInTexts.h"

#include "Lang.h"
#include "core/EncodStr.h"

QByteArray EnglishExtraTextsFile(); // made by the build from lang/en/enext.lng

namespace BuiltIn {

const QStringList& WindowTexts() {
    static const QStringList texts = {
        "f1",                                    // 0  key of the loaded file
        "*KVT_program - ver.4.0.0 test version", // 1
        "*File",                                 // 2
        "*PortSettings",                         // 3
        "*ProgramSettings",                      // 4
        "*Info",                                 // 5
        "*Units",                                // 6
        "*steps",                                // 7
        "*other units",                          // 8
        "*Scale",                                // 9
        "*steps",                                // 10
        "*Change",                               // 11
        "*rounding",                             // 12
        "*Motion",                               // 13
        "*movement",                             // 14
        "*permamnent motion",                    // 15
        "*Velocity",                             // 16
        "*Maximum",                              // 17
        "*speed",                                // 18
        "*start",                                // 19
        "*Forward",                              // 20
        "*Backward",                             // 21
        "*Acceleration/Deceleration",            // 22
        "*acceleration",                         // 23
        "*no acceleration",                      // 24
        "*Write",                                // 25
        "*Stop",                                 // 26
        "*Simple control mode",                  // 27
        "*Extended control mode",                // 28
        "*Open Port",                            // 29
        "*Close Port",                           // 30
        "*Send",                                 // 31
        "*ClearAll",                             // 32
        "*ClearCurrentstring",                   // 33
        "*Direct Control",                       // 34
        "*Loading",                              // 35
        "*Response",                             // 36
        "*Decreasing rounding",                  // 37
        "*Increasing rounding",                  // 38
        "*Mathematic rounding",                  // 39
        "*Start",                                // 40
        "*Write and Start",                      // 41
        "*Command",                              // 42
        "*Open from file",                       // 43
        "*Save to file",                         // 44
        "*Chose port",                           // 45
        "*Port settings",                        // 46
        "*Error handlings",                      // 47
        "*Program settings",                     // 48
        "*Language",                             // 49
        "*Program vers.",                        // 50
        "*Load from device",                     // 51
        "Coordinates:    ",                      // 52
        "Coord",                                 // 53
        "program executing",                     // 54
    };
    return texts;
}

const QStringList& Messages() {
    static const QStringList messages = {
        "msg",                                                                                          // 0
        " *File",                                                                                       // 1
        " *not found or damaged!",                                                                      // 2
        "*port: ",                                                                                      // 3
        "*Error opening port",                                                                          // 4
        "*bit, ",                                                                                       // 5
        "*stop-bit: ",                                                                                  // 6
        "*parity: none; ",                                                                              // 7
        "*parity: odd; ",                                                                               // 8
        "*parity: even; ",                                                                              // 9
        "*parity: 1; ",                                                                                 // 10
        "*parity: 0; ",                                                                                 // 11
        "*Data transfer error!",                                                                        // 12
        "*Data transfer function is not ready.  Application can malfunction!",                          // 13
        "*Parameter value is incorrect",                                                                // 14
        "*There is a wrong command in the commands list!",                                              // 15
        "*File name incorrect",                                                                         // 16
        "*Software KVT_Program",                                                                        // 17
        " *If have any questions, please, apply to the company office.",                                // 18
        "* is intended for controllers TRVA series.",                                                   // 19
        "*Units scale value is incorrect.",                                                             // 20
        "*Please, set correct port number",                                                             // 21
        "*No reply from the controller!",                                                               // 22
        "*One of language files is damaged.",                                                           // 23
        "*Controller is not in a standby mode",                                                         // 24
        "* Set language \"",                                                                            // 25
        "*Error recovering started",                                                                    // 26
        "*Insert correct time as integer, ms",                                                          // 27
        "*Program recording to coordinate",                                                             // 28
        "* completed ",                                                                                 // 29
        "*Coordinate ",                                                                                 // 30
        "* is in communication mode",                                                                   // 31
        "*: program executing started",                                                                 // 32
        "*Program executing is suspended. Chanel ",                                                     // 33
        "*Program error - coordinate",                                                                  // 34
        "*: Program executing completed",                                                               // 35
        "*Communication error occurred. Possible, the program does not operate properly. Coordinate  ", // 36
        "*Error - incorrect command!",                                                                  // 37
        "*Resume program executing - coordinate",                                                       // 38
        "*Error - incorrect command data!",                                                             // 39
        "*Error recovering: clear program buffers and labels",                                          // 40
        "*Error recovering: stop controller communication mode",                                        // 41
        "*!!!Command incorrect!!!",                                                                     // 42
        "*Start/Stop program executing: ",                                                              // 43
        "* coordinate ",                                                                                // 44
        "*Set/take off pause: ",                                                                        // 45
        "*Start commands recording:  ",                                                                 // 46
        "*End commands recording  ",                                                                    // 47
        "*Program begin  ",                                                                             // 48
        "*Set \"Enable\"",                                                                              // 49
        "*Move  ",                                                                                      // 50
        "* steps ",                                                                                     // 51
        "*Input correct steps number: from  ",                                                          // 52
        "* to  ",                                                                                       // 53
        "*Input correct ",                                                                              // 54
        "* number: from ",                                                                              // 55
        "* steps/sec  ",                                                                                // 56
        "* /sec ",                                                                                      // 57
        "*Input correct speed: from ",                                                                  // 58
        "*Start speed ",                                                                                // 59
        "*Input correct start speed: from  ",                                                           // 60
        "*Acceleration  ",                                                                              // 61
        "*Input correct acceleration: from ",                                                           // 62
        "*Reverse   ",                                                                                  // 63
        "*Pause for  ",                                                                                 // 64
        "* ms  ",                                                                                       // 65
        "*Input correct pause duration from ",                                                          // 66
        "*Set \"Disable\"",                                                                             // 67
        "*Set label ",                                                                                  // 68
        "*Repeat from label ",                                                                          // 69
        "* times ",                                                                                     // 70
        "*Input correct cycles number from  ",                                                          // 71
        "*Forward motion  ",                                                                            // 72
        "*Backward motion ",                                                                            // 73
        "*Set signal to output ",                                                                       // 74
        "*Input correct output number from  ",                                                          // 75
        "*Wait signal WL to input ",                                                                    // 76
        "*Insert correct input number from ",                                                           // 77
        "*Wait signal WH to input ",                                                                    // 78
        "*Clear signal from output  ",                                                                  // 79
        "*Move till input signal MH ",                                                                  // 80
        "*Move till input signal ML ",                                                                  // 81
        "*Move till zero limit switch ",                                                                // 82
        "*Record commands to buffer ",                                                                  // 83
        "*Repeat buffer ",                                                                              // 84
        "*speed ",                                                                                      // 85
    };
    return messages;
}

const QStringList& ExtraTexts() {
    // lang/en/enext.lng, built in: "{n} text" on line n, after a title line.
    static const QStringList texts = [] {
        const QStringList lines = SplitFileLines(EnglishExtraTextsFile());
        QStringList parsed{"ext"};
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const TLang::ParsedLine line = TLang::ParseLanguageLine(lines[i]);
            parsed.append(line.kind == TLang::ParsedLine::Parsed && line.number == i ? line.text : QString());
        }
        return parsed;
    }();
    return texts;
}

} // namespace BuiltIn
