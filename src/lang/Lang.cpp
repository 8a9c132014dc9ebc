#include "Lang.h"

#include "BuiltInTexts.h"
#include "MessageIds.h"
#include "core/EncodStr.h"
#include "core/OperationLog.h"
#include "core/ProgramPaths.h"
#include "core/UnitCommonDatas.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <utility>

namespace {

// The main window's controls that take a window-text entry as they stand. The composed captions
// (title, scale group, speed labels, rounding label) are built in ApplyMainTexts.
constexpr std::array<TCaptionSlot, 43> kMainSlots = {{
    {2, "mmFile", -1},           {3, "mmSetts", -1},           {4, "mmNastr", -1},
    {5, "mmInfo", -1},           {6, "rgrUnits", -1},          {7, "rgrUnits", 0},
    {8, "rgrUnits", 1},          {10, "lblSteps", -1},         {11, "btnScaleChange", -1},
    {12, "rgrDirect", -1},       {13, "grbSteps", -1},         {14, "StTStepsNum", -1},
    {15, "chbStepsConst", -1},   {16, "grbSpeed", -1},         {20, "rgrDirect", 0},
    {21, "rgrDirect", 1},        {22, "grbAccel", -1},         {23, "rbtnAccel", -1},
    {24, "rbtnNonAccel", -1},    {25, "btnLoad", -1},          {26, "btnStop", -1},
    {27, "rgrSingl_Mult", 0},    {28, "rgrSingl_Mult", 1},     {29, "btnOpenPort", -1},
    {30, "btnClosePort", -1},    {31, "btnRunTR", -1},         {32, "btnAllClear", -1},
    {33, "btnDelRaw", -1},       {34, "chbDirectControl", -1}, {35, "lblLoading", -1},
    {36, "lblResponse", -1},     {40, "btnStart", -1},         {41, "btnPusk", -1},
    {42, "StringGridSend", 2},   {43, "mmFileOpen", -1},       {44, "mmFileSave", -1},
    {45, "mmSettsPortName", -1}, {46, "mmSettsProp", -1},      {47, "mmNastrError", -1},
    {48, "mmNastrLogs", -1},     {49, "mmLang", -1},           {50, "mmVers", -1},
    {51, "mmReadCh", -1},
}};

// Reads the digits of a marker as one number; empty when there are none or it exceeds 32 bits.
std::optional<qint32> MarkerNumber(QStringView marker) {
    qint64 value = 0;
    bool any = false;
    for (QChar c : marker) {
        if (!c.isDigit() || c.unicode() > '9')
            continue;
        any = true;
        value = value * 10 + (c.unicode() - '0');
        if (value > INT32_MAX)
            return std::nullopt;
    }
    if (!any)
        return std::nullopt;
    return static_cast<qint32>(value);
}

} // namespace

TLang::TLang(const TProgramPaths& paths, TCommonDatas& datas, IOperationLog& log)
    : Texts(BuiltIn::WindowTexts()), Messages(BuiltIn::Messages()), Extra(BuiltIn::ExtraTexts()),
      paths_(paths), datas_(datas), log_(log) {}

std::span<const TCaptionSlot> TLang::MainWindowSlots() {
    return kMainSlots;
}

QString TLang::LanguageFile(const QString& part) const {
    return LanguageFileOf(datas_.Settings().Language, part);
}

bool TLang::ValidCode(const QString& code) {
    if (code.isEmpty() || code.size() > 16)
        return false;
    for (const QChar c : code) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != '-' && c != '_')
            return false;
    }
    return true;
}

bool TLang::LanguageFound(const QString& code) const {
    if (!ValidCode(code))
        return false;
    for (const char* part : {"f1", "addf", "msg"}) {
        if (!ReadLanguageFile(LanguageFileOf(code, part)))
            return false;
    }
    return true;
}

QString TLang::LanguageFileOf(const QString& code, const QString& part) const {
    // A code that names no folder of lang/ (a slash, a stray byte) still names a file there,
    // one that is not found: never a file elsewhere.
    QString folder = code;
    if (!ValidCode(code)) {
        for (QChar& c : folder) {
            if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != '-' && c != '_')
                c = '_';
        }
        folder = folder.left(16);
    }
    return paths_.LangFolder() + '/' + folder + '/' + folder + part + ".lng";
}

QString TLang::LanguageListFile() const {
    return paths_.LangFolder() + "/lang.lng";
}

TLang::ParsedLine TLang::ParseLanguageLine(const QString& line) {
    ParsedLine parsed;
    const qsizetype brace = line.indexOf('}');
    if (brace < 0 || line.size() <= 3 || line.size() > MaxLineLength)
        return parsed; // Rejected, number 0
    const auto number = MarkerNumber(QStringView(line).left(brace + 1));
    if (!number) {
        parsed.kind = ParsedLine::BadMarker;
        return parsed;
    }
    QString text = line.mid(brace + 1);
    if (text.startsWith(' '))
        text.remove(0, 1);
    parsed.kind = ParsedLine::Parsed;
    parsed.number = *number;
    parsed.text = text;
    return parsed;
}

std::optional<QStringList> TLang::ReadLanguageFile(const QString& path) {
    // Only a regular file: a pipe or device named like a language file would block the start.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize)
        return std::nullopt;
    const QByteArray bytes = file.read(MaxFileSize + 1);
    // An empty file, or one holding zero bytes, is no language file.
    if (bytes.isEmpty() || bytes.size() > MaxFileSize || bytes.contains('\0'))
        return std::nullopt;
    return SplitFileLines(bytes);
}

void TLang::NoteFileProblem(const QString& path) {
    fileProblems_.append(Message(Msg::FilePrefix) + path + Message(Msg::NotFoundOrDamaged));
}

QStringList TLang::TakeFileProblems() {
    return std::exchange(fileProblems_, {});
}

bool TLang::LoadInto(QStringList& list, const QString& path, const QString& key, FillMode fill) {
    bool result = true;
    if (fill == FillMode::BlankFirst) {
        for (QString& entry : list)
            entry = " ";
    }
    const auto read = ReadLanguageFile(path);
    if (!read)
        NoteFileProblem(path);
    const QStringList lines = read.value_or(QStringList());
    while (list.size() < lines.size())
        list.append(QString());
    list[0] = key;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const ParsedLine parsed = ParseLanguageLine(lines[i]);
        if (parsed.kind == ParsedLine::BadMarker) {
            // The rest of the file cannot be trusted to be numbered as it should.
            NoteFileProblem(path);
            break;
        }
        if (parsed.kind == ParsedLine::Parsed && parsed.number == i)
            list[i] = parsed.text;
        else
            result = false;
    }
    return result;
}

bool TLang::LoadTexts(const QString& name) {
    return LoadInto(Texts, LanguageFile(name), name, FillMode::BlankFirst);
}

bool TLang::LoadMessages() {
    return LoadInto(Messages, LanguageFile("msg"), "msg", FillMode::KeepEntries);
}

void TLang::LoadExtraTexts() {
    Extra = BuiltIn::ExtraTexts();
    const auto lines = ReadLanguageFile(LanguageFile("ext"));
    if (!lines)
        return;
    for (qsizetype i = 1; i < lines->size() && i < Extra.size(); ++i) {
        const ParsedLine parsed = ParseLanguageLine(lines->at(i));
        if (parsed.kind == ParsedLine::Parsed && parsed.number == i)
            Extra[i] = parsed.text;
    }
}

void TLang::ApplyMainTexts(ICaptionTarget& window) {
    TCommonDatas::TTexts texts;
    texts.CoordinatesText = Text(52);
    texts.CoordText = Text(53);
    texts.ExecutingText = Text(54);
    texts.ScaleText = Text(9);
    texts.StepsText = Text(10);
    texts.RoundDownText = Text(37);
    texts.RoundUpText = Text(38);
    texts.RoundMathText = Text(39);
    datas_.SetTexts(texts);

    for (const TCaptionSlot& slot : kMainSlots)
        window.SetCaption(slot.objectName, slot.item, Text(slot.entry));

    window.SetCaption("Form1", -1, Text(1) + " - " + datas_.VersionText);
    window.SetCaption("GrBoxStepsToUnits", -1, datas_.ScaleGroupCaption());
    window.SetCaption("StTSpeed", -1, Text(17) + " " + Text(18));
    window.SetCaption("StTBeginSpeed", -1, Text(19) + " " + Text(18));
    if (datas_.Settings().RoundingMode <= 2)
        window.SetCaption("lblTrunc", -1, Text(37 + datas_.Settings().RoundingMode));
}

void TLang::ReloadLanguage(ICaptionTarget& window) {
    LoadTexts("f1");
    ApplyMainTexts(window);
    LoadMessages();
    LoadExtraTexts();
}

void TLang::ReportDamagedLanguage() {
    log_.AddLogLine(Message(Msg::LanguageDamaged), true);
}

bool TLang::LoadDialogTexts(int highestEntry) {
    if (!LoadTexts("addf"))
        ReportDamagedLanguage();
    if (Texts.size() <= highestEntry) {
        ReportDamagedLanguage();
        return false;
    }
    return true;
}

void TLang::ApplyDialogLanguage(ICaptionTarget& dialog, std::span<const TCaptionSlot> targets,
                                int highestEntry) {
    if (!LoadDialogTexts(highestEntry))
        return;
    for (const TCaptionSlot& slot : targets)
        dialog.SetCaption(slot.objectName, slot.item, Text(slot.entry));
}
