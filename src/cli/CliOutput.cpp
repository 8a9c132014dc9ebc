#include "CliOutput.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

TCliOutput::TCliOutput(bool json) : json_(json), terminal_(::isatty(STDERR_FILENO) == 1) {}

void TCliOutput::Event(const QString& event, const TFields& fields, const QString& readable) {
    QByteArray line;
    if (json_) {
        const QDateTime now = QDateTime::currentDateTime();
        QJsonObject object{{"event", event},
                           {"time", now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs)}};
        for (const auto& [name, value] : fields)
            object.insert(name, QJsonValue::fromVariant(value));
        line = QJsonDocument(object).toJson(QJsonDocument::Compact);
    } else if (readable.isEmpty()) {
        return; // told by another event already
    } else {
        line = readable.toLocal8Bit();
    }
    line += '\n';
    EndProgress();
    if (closed_)
        return;
    errno = 0;
    const bool written = std::fwrite(line.constData(), 1, size_t(line.size()), stdout) == size_t(line.size());
    if (!written || std::fflush(stdout) != 0)
        Failed(errno);
}

void TCliOutput::Failed(int error) {
    if (error == EPIPE) {
        if (!closed_ && onClosed_) {
            closed_ = true;
            onClosed_();
        }
        closed_ = true;
        return;
    }
    if (failure_.isEmpty())
        failure_ = QString::fromLocal8Bit(std::strerror(error != 0 ? error : EIO));
}

void TCliOutput::Flush() {
    if (closed_)
        return; // told already
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        Failed(errno);
}

void TCliOutput::Progress(int line, int count) {
    if (!terminal_ || json_)
        return;
    std::fprintf(stderr, "\rLine %d of %d ", line, count);
    std::fflush(stderr);
    progressShown_ = true;
}

void TCliOutput::Error(const QString& text) {
    // With --json, every error is an event on standard output as well.
    if (json_)
        Event("error", {{"text", text}}, {});
    EndProgress();
    std::fprintf(stderr, "kvtctl: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

void TCliOutput::EndProgress() {
    if (!progressShown_)
        return;
    std::fputs("\r\033[K", stderr);
    progressShown_ = false;
}
