#include "TypedCommand.h"

#include "core/ShownText.h"
#include "lang/ExtraIds.h"
#include "lang/Lang.h"
#include "protocol/UnitKVTComands.h"

namespace {

using K = TKVTCommands;

// The text without its spaces, the code in upper case.
QString Normalized(const QString& text) {
    QString compact = text.simplified().remove(' ');
    compact.replace(0, std::min<qsizetype>(2, compact.size()), compact.left(2).toUpper());
    return compact;
}

// Codes the operator may type into a program: the vocabulary's, but the read requests and the
// entries without a code.
bool Typable(int index) {
    return index != K::Incorrect && index != K::RB && index != K::RD && index != K::ON && index != K::OF;
}

} // namespace

TTypedCommand TTypedCommand::Read(const QString& text, const TKVTCommands& commands, const TLang& lang) {
    TTypedCommand typed;
    const QString line = Normalized(text);
    typed.index = K::CommandIndex(line);
    if (typed.index == K::RB || typed.index == K::RD) {
        typed.refusal = lang.ExtraText(Ext::TypedReadRequest).arg(line.left(2));
        return typed;
    }
    if (!Typable(typed.index)) {
        typed.refusal = lang.ExtraText(Ext::TypedUnknown).arg(Shown(text.trimmed()));
        typed.index = K::Incorrect;
        return typed;
    }
    const QString argument = line.mid(2);
    const auto rule = K::ArgumentRule(typed.index);
    const QString code = line.left(2);
    if (argument.isEmpty() && rule.kind == K::TArgumentRule::Required)
        typed.refusal =
            lang.ExtraText(Ext::TypedNeedsArgument).arg(code, commands.Entry(typed.index).RangeText);
    else if (!argument.isEmpty() && rule.kind == K::TArgumentRule::None)
        typed.refusal = lang.ExtraText(Ext::TypedTakesNoArgument).arg(code);
    else if (!argument.isEmpty())
        typed.argument = argument;
    return typed;
}

QStringList TTypedCommand::Completions(const QString& text) {
    const QString prefix = Normalized(text);
    QStringList codes;
    if (prefix.size() > 2)
        return codes;
    for (int index = 1; index < K::Count; ++index) {
        const QString code = K::Code(index);
        if (Typable(index) && code.startsWith(prefix))
            codes << code;
    }
    return codes;
}

QString TTypedCommand::Describe(const QString& text, const TKVTCommands& commands, const TLang& lang) {
    const QString line = Normalized(text);
    if (line.isEmpty())
        return {};
    const int index = K::CommandIndex(line);
    if (line.size() < 2 || !Typable(index)) {
        const QStringList codes = Completions(line);
        return codes.isEmpty() ? lang.ExtraText(Ext::TypedUnknown).arg(Shown(text.trimmed()))
                               : lang.ExtraText(Ext::TypedCandidates).arg(codes.join(", "));
    }
    const TCommandEntry& e = commands.Entry(index);
    const QString argument = line.mid(2);
    return argument.isEmpty() ? e.CaptionText.trimmed() : e.CaptionText + argument + e.UnitsText;
}

QString TTypedCommand::StepsLine(const QString& text) {
    return Normalized(text);
}

QString TTypedCommand::CheckStepsLine(const QString& line, const TKVTCommands& commands, const TLang& lang) {
    const TTypedCommand typed = Read(line, commands, lang);
    if (!typed.refusal.isEmpty() || typed.argument == "no")
        return typed.refusal;
    const auto rule = K::ArgumentRule(typed.index);
    bool whole = false;
    const qint64 value = typed.argument.toLongLong(&whole);
    if (whole && value >= rule.low && value <= rule.high)
        return {};
    return lang.ExtraText(Ext::TypedOutOfSteps).arg(Normalized(line).left(2)).arg(rule.low).arg(rule.high);
}
