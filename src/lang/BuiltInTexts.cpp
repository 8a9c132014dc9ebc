#include "BuiltInTexts.h"

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
    static const QStringList texts = {
        "ext",                                                                                   // 0
        "Cannot open port COM%1 (%2): %3.",                                                      // 1
        "Connection lost on COM%1 (%2): the device hung up or was removed. The port is closed.", // 2
        "no such device",                                                                        // 3
        "permission denied; the user must be a member of the group dialout "
        "(sudo adduser $USER dialout) and log in again", // 4
        "port busy: another program holds it",           // 5
        "not a serial device",                           // 6
        "Line %1 (%2): the re-scaled value does not fit the controller's numbers and was limited "
        "to %3.",                                                                         // 7
        "The previous command is still being sent. Wait for its answer, then try again.", // 8
        "The file is too large to be a program.",                                         // 9
        "Drag to move the command",                                                       // 10
        "The earlier program file %1 was put back: nothing was saved.",                   // 11
        "The program file %1 was replaced, but its descriptions %2 could not be, nor could the earlier "
        "program be put back: the two files no longer belong together.",                  // 12
        "It is not a regular file.",                                                      // 13
        "It has %1 lines; a program has at most %2.",                                     // 14
        "The last line of %1 has no line end: the file may have been cut short.",         // 15
        "%1 holds a zero byte: the lines after it cannot be read.",                       // 16
        "%1 mixes two encodings: line %2 is not UTF-8 and was read as Windows-1251.",     // 17
        "This program looks damaged. %1 Load it anyway?",                                 // 18
        "First at line %1 (\"%2\"); %3 wrong lines in all.",                              // 19
        "The port is closed: \"%1\" and the lines after it were not sent.",               // 20
        "COM%1 has no link in the ports folder: opened %2, the system's serial port.",    // 21
        "Close the program without saving the rest?",                                     // 22
        "COM%1 opens %2, %3",                                                             // 23
        "which is not there.",                                                            // 24
        "which this user may not open (the user must be a member of the group dialout).", // 25
        "which is there and may be opened.",                                              // 26
        "Serial devices of this machine:",                                                // 27
        "Use the selected device for this port",                                          // 28
        "(none found)",                                                                   // 29
        "COM%1 could not be linked to %2: %3",                                            // 30
        "Reading impossible. Controller is in program recording mode.",                   // 31
        "no correct program",                                                             // 32
        "There is a wrong command in the list!",                                          // 33
        "Compare with the command list",                                                  // 34
        "%2 holds the program of the command list: %1 commands match.",                   // 35
        "The program of %4 differs from the command list at command %1: the controller holds \"%2\", the "
        "list \"%3\".",                                                                                // 36
        "(nothing)",                                                                                   // 37
        "The program read back ends before the token \"%1\": %2",                                      // 38
        "Line %1 of %2, %3",                                                                           // 39
        "Stop sending",                                                                                // 40
        "Sending finished. Lines sent: %1.",                                                           // 41
        "Sending stopped by the operator before line %1 of %2 (\"%3\"). Lines sent: %4.",              // 42
        "Sending ended at line %1 of %2 (\"%3\"): %5. Lines sent: %4.",                                // 43
        "no answer",                                                                                   // 44
        "command error",                                                                               // 45
        "command data error",                                                                          // 46
        "communication error",                                                                         // 47
        "the port is closed",                                                                          // 48
        "stopped by the program",                                                                      // 49
        "Quit",                                                                                        // 50
        "Usage: %1 [options] [FILE]",                                                                  // 51
        "Programs and drives a stepper-motor controller of up to three channels over a serial line.",  // 52
        "Options:",                                                                                    // 53
        "Show this help and exit.",                                                                    // 54
        "Show the version and exit.",                                                                  // 55
        "Use DIR as the program folder (created when missing).",                                       // 56
        "Open port N (1 to 255) at this start instead of the stored number; the stored number stays.", // 57
        "Unknown option: %1",                                                                          // 58
        "The option %1 needs a value.",                                                                // 59
        "Invalid port number \"%1\": give a whole number from 1 to 255.",                              // 60
        "Try \"%1 --help\" for the options.",                                                          // 61
        "Cannot use %1 as the program folder: %2",                                                     // 62
        "Unexpected argument: %1",                                                                     // 63
        "The channel states shown are those last known; if the controller was restarted, set them with "
        "the "
        "\"?\" button.", // 64
        "%1 (%2 times)", // 65
        "The program folder %1 is in use by another KVT_Program (process %2 on %3). OK starts this one "
        "read-only: nothing of this folder is saved when it closes. Cancel quits.", // 66
        "A program is being written into the controller. Close all the same? The writing stops and "
        "\"ED*\" "
        "ends the recording.",                                                             // 67
        "The close stopped the recording into coordinate %1: \"ED*\" was sent to end it.", // 68
        "the ports folder is a link to elsewhere; the program makes its links only in a folder of its "
        "own",                         // 69
        "Program preview",             // 70
        "Preview",                     // 71
        "Program preview...",          // 72
        "Channel %1, lines %2-%3",     // 73
        "Moves",                       // 74
        "Forward",                     // 75
        "Backward",                    // 76
        "Net change",                  // 77
        "Lowest position",             // 78
        "Highest position",            // 79
        "Pauses",                      // 80
        "Estimated duration",          // 81
        "%1 s",                        // 82
        "%1, open-ended from line %2", // 83
        "%1 (absolute, after HM)",     // 84
        "ends at %1 (absolute)",       // 85
        "Estimates leave acceleration out. Before an HM positions count from where the program starts, "
        "taken "
        "as 0. JP n repeats the lines from its LL n more times; SB n runs the buffer n times; an HM is "
        "neither counted nor timed.",                                                     // 86
        "Direct commands (outside any program): lines %1",                                // 87
        "Findings",                                                                       // 88
        "No findings.",                                                                   // 89
        "Line %1: \"%2\" is no command of the controller.",                               // 90
        "Line %1: \"%2\" has no valid argument.",                                         // 91
        "Line %1: the program of channel %2 has no ED.",                                  // 92
        "Line %1: ED without its LD.",                                                    // 93
        "Line %1: JP without an LL before it.",                                           // 94
        "Line %1: SB without an LB before it.",                                           // 95
        "Line %1: the buffer begun here is never repeated (no SB): its lines never run.", // 96
        "Line %1: a repetition count of 0 repeats nothing.",                              // 97
        "Line %1: a move before any speed was set (the estimate takes %2 steps/s).",      // 98
        "Line %1: a move before any direction was set (taken as forward).",               // 99
        "Line %1: channel %2 is written again; this program replaces the earlier one.",   // 100
        "The list holds no program (no LD ... ED).",                                      // 101
        "Line %1: \"%2\" takes channel %3 to %4, beyond its travel %5 ... %6.",           // 102
        "Time, s",                                                                        // 103
        "Position, %1",                                                                   // 104
        "Channel %1",                                                                     // 105
        "Travel of channel %1",                                                           // 106
        "The plot shows the first %1 points only.",                                       // 107
        "Travel limits, %1",                                                              // 108
        "Channel %1",                                                                     // 109
        "from",                                                                           // 110
        "to",                                                                             // 111
        "Line %1 (\"%2\") would take channel %3 to %4, beyond its travel %5 ... %6. Send the list all "
        "the "
        "same?",                                                                        // 112
        "steps",                                                                        // 113
        "The file %1 is damaged: the settings it could not give keep their defaults.",  // 114
        "... and %1 more",                                                              // 115
        "Travel limits need two numbers, the first not above the second.",              // 116
        "The list ended inside the program of channel %1: \"ED*\" ends its recording.", // 117
        "No answer inside the program of channel %1: \"ED*\" was sent, but the channel may still be "
        "recording.",                                                        // 118
        "&Edit",                                                             // 119
        "Undo",                                                              // 120
        "Redo",                                                              // 121
        "Save as...",                                                        // 122
        "Recent files",                                                      // 123
        "Import text...",                                                    // 124
        "Export text...",                                                    // 125
        "untitled",                                                          // 126
        "The command list has changes that are not saved. Save them first?", // 127
        "The file %1 is no longer there; it is taken off the recent files.", // 128
        "Lines of %1 that are not commands were left out:",                  // 129
        "line %1, \"%2\": %3",                                               // 130
        "about %1 left",                                                     // 131
        "Save log as...",                                                    // 132
        "Clear log",                                                         // 133
        "Time before each log line",                                         // 134
        "Keep the logs of each session, at most:",                           // 135
        "Line",                                                              // 136
        "%1 holds no command: the list is left as it was.",                  // 137
        "Open this terminal device (any path, such as /dev/ttyUSB0) or controller on the network "
        "(tcp://HOST:PORT, rfc2217://HOST:PORT) at this start; the stored port stays.", // 138
        "A program file (.kvt) to load at start.",                                      // 139
        "Choose the controller's port with \"Port\" > \"Choose port\".",                // 140
        "%1 baud",                                                                      // 141
        "Acceleration/deceleration",                                                    // 142
        "Set signal (close relay)",                                                     // 143
        "Maximum speed",                                                                // 144
        "Clear signal (open relay)",                                                    // 145
        "Start speed",                                                                  // 146
        "Wait until signal to input 1",                                                 // 147
        "Move step number",                                                             // 148
        "Wait until signal to input 2",                                                 // 149
        "Pause, ms",                                                                    // 150
        "Repeat from label",                                                            // 151
        "Move until signal to input 1",                                                 // 152
        "Repeat the buffer n times",                                                    // 153
        "Move until signal to input 2",                                                 // 154
        "Begin program",                                                                // 155
        "Allow motion",                                                                 // 156
        "Prohibit motion",                                                              // 157
        "permanent motion",                                                             // 158
        "Motion forward",                                                               // 159
        "Motion backward",                                                              // 160
        "Reverse motion",                                                               // 161
        "Move to zero switch",                                                          // 162
        "Set cycle label",                                                              // 163
        "Record the commands that follow into the buffer",                              // 164
        "Load program to coordinate 1",                                                 // 165
        "End programming",                                                              // 166
        "Start/Stop",                                                                   // 167
        "Pause or resume channel 1",                                                    // 168
        "Write the program into the controller and start it",                           // 169
        "Check to send commands directly",                                              // 170
        "Set the states of the channels",                                               // 171
        "Refresh",                                                                      // 172
        "The device %1 of port %2 is back.",                                            // 173
        "The device %1 of port %2 is back. Open the port again? A controller that was running may still "
        "be running.",                                                        // 174
        "Port 1 is linked to the USB serial adapter %1, the only one found.", // 175
        "Save",                                                               // 176
        "The list ends inside the program of channel %1: LD%1 at line %2 has no ED after it, so the "
        "controller would stay in program recording mode and refuse what follows. Send it all the same?", // 177
        "Line %1: the repetition repeats nothing (no command lies between its label or buffer and it).", // 178
        "Line %1: the program of channel %2 goes beyond what can be counted (more than 10^18 steps or "
        "moves); its figures are shown at that limit.", // 179
        "Line %1: repetitions nested more than %2 deep; the preview leaves this one out, so the figures may "
        "be too small.",                                                             // 180
        "No such file.",                                                             // 181
        "\"%1\" is no command of the controller.",                                   // 182
        "%1 is no command of a program: a program is read back from the Info menu.", // 183
        "%1 needs an argument: %2",                                                  // 184
        "%1 takes no argument.",                                                     // 185
        "%1: the argument must be a whole number from %2 to %3 (steps).",            // 186
        "Commands: %1",                                                              // 187
        "&Command:",                                                                 // 188
        "Type a controller command (LD2, ST3, SD 300) and press Enter to add it as the buttons do. Up and "
        "Down: earlier commands; Tab: complete the code.",                                  // 189
        "Channel %1",                                                                       // 190
        "The buffer",                                                                       // 191
        "channel %1",                                                                       // 192
        "the buffer",                                                                       // 193
        "%1 holds no program.",                                                             // 194
        "Read:",                                                                            // 195
        "Buffer (RB)",                                                                      // 196
        "&Control",                                                                         // 197
        "S&top all",                                                                        // 198
        "Stops the sending at once and then every channel that runs (F12, in either mode)", // 199
        "Stop: %1 sent.",                                                                   // 200
        "Stop: no channel runs; nothing more was sent.",                                    // 201
        "Stop: the port is closed, nothing could be sent to the controller!",               // 202
        "User buttons...",                                                                  // 203
        "User buttons",                                                                     // 204
        "Name:",                                                                            // 205
        "Commands, one per line, in steps (# begins a comment):",                           // 206
        "Add",                                                                              // 207
        "Delete",                                                                           // 208
        "Up",                                                                               // 209
        "Down",                                                                             // 210
        "OK",                                                                               // 211
        "Cancel",                                                                           // 212
        "Button %1",                                                                        // 213
        "Button \"%1\", line %2: %3",                                                       // 214
        "Button %1 has no name.",                                                           // 215
        "Two buttons are named \"%1\".",                                                    // 216
        "Button \"%1\" holds no command.",                                                  // 217
        "The user buttons file %1 is damaged at line %2 (%3): the buttons before it are shown, and the file "
        "is left as it is until the buttons are saved.",                          // 218
        "The user buttons could not be saved: %1",                                // 219
        "Sends %1 (Ctrl+%2)",                                                     // 220
        "A list is being sent: \"%1\" was not run.",                              // 221
        "At most %1 buttons.",                                                    // 222
        "Button \"%1\" holds more than %2 commands.",                             // 223
        "The name \"%1\" is longer than %2 characters.",                          // 224
        "a command before the first [name]",                                      // 225
        "larger than %1 KB",                                                      // 226
        "not a text file",                                                        // 227
        "No user buttons yet: Control > User buttons... makes them.",             // 228
        "No user button is named \"%1\".",                                        // 229
        "cannot be read",                                                         // 230
        "The name \"%1\" may not hold [ or ].",                                   // 231
        "not an address of the form tcp://HOST:PORT or rfc2217://HOST:PORT",      // 232
        "the name is not found",                                                  // 233
        "the connection was refused (is the server running, is the port right?)", // 234
        "no route to the host",                                                   // 235
        "no answer within %1 s",                                                  // 236
        "\"Open Port\" connects to %1 again once its server is back.",            // 237
        "&Network address:",                                                      // 238
        "Link to address",                                                        // 239
        "A controller on the network: tcp://HOST:PORT (the bytes as they are) or rfc2217://HOST:PORT (the "
        "line settings reach the remote port). \"Link to address\" gives it to the chosen port number.", // 240
        "Port %1 opens %2 (a controller on the network).",                               // 241
        "Cannot open %1: %2.",                                                           // 242
        "Connection lost on %1: the device hung up or was removed. The port is closed.", // 243
        "the clipboard",                                                                 // 244
        "Inserts before line %1",                                                        // 245
        "Adds to the end",                                                               // 246
        "Cut",                                                                           // 247
        "Copy",                                                                          // 248
        "Paste",                                                                         // 249
        "F2 or a double-click edits the argument of a line; Ctrl+X, Ctrl+C and Ctrl+V cut, copy and paste "
        "lines as text.",         // 250
        "Load program from file", // 251
        "Save program as",        // 252
        "Import text",            // 253
        "Export text",            // 254
        "Save log as",            // 255
        "User guide",             // 256
        "Keyboard shortcuts",     // 257
        "About KVT_Program",      // 258
        "KVT_Program %1 is free software under the GNU General Public License, version 3 or later: you may "
        "share and change it under its terms (%2). The user guide and the manual pages (man KVT_Program, man "
        "kvtctl, man kvtsim) are in %3; the sources are published with the program.", // 259
        "The user guide is not installed here. It is README.md of the program's sources; the manual page: "
        "man KVT_Program.",   // 260
        "Keyboard shortcuts", // 261
        "Key",                // 262
        "What it does",       // 263
        "F5|Send the command list;Esc|Stop sending after the line on its way;F12|Stop all: the sending, then "
        "every running channel (from any window);Ctrl+1 ... Ctrl+9|The first nine user buttons;F6|Program "
        "preview;Ctrl+O|Load from file;Ctrl+S|Save;Ctrl+Shift+S|Save "
        "as;Ctrl+Q|Quit;Ctrl+Z|Undo;Ctrl+Shift+Z, Ctrl+Y|Redo;Ctrl+X, Ctrl+C, Ctrl+V|Cut, copy, paste lines "
        "(on the command list);Delete|Delete the selected lines;F2, double-click|Edit the argument of a "
        "line;Enter|Add the command (in an argument field or on the command line);Up, Down|Earlier commands "
        "(on the command line);Tab|Complete a code (on the command line);F10|The menu bar;Alt+letter|A menu "
        "or a button by its underlined letter", // 264
        "Channel %1 now holds lines 1–%2 of the %3 of its program in the list (the list stopped inside it).", // 265
        "%1 was handed to the KVT_Program that is running on this folder.", // 266
    };
    return texts;
}

} // namespace BuiltIn
