#include "ConsoleSink.h"

#include <cstdio>

namespace lrf::cli {

using namespace Qt::StringLiterals;

namespace {

// Files shorter than this are written too fast for a progress line to help.
constexpr int kRecordsPerProgressLine = 1000;

void Write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

} // namespace

void ConsoleSink::AppendLog(const QString& line) {
    EraseProgress();
    Write(stdout, line + u'\n');
    std::fflush(stdout);
}

void ConsoleSink::AppendFailure(const QString& line, const QString& fileName, const QString& reason) {
    AppendLog(line);
    Write(stderr, u"lrf-export: "_s + fileName + u": "_s + reason + u'\n');
    std::fflush(stderr);
}

void ConsoleSink::SetOverallMaximum(int maximum) {
    overallMaximum_ = maximum;
    overallPosition_ = 0;
}

void ConsoleSink::SetOverallPosition(int position) {
    overallPosition_ = position;
}

void ConsoleSink::SetFileMaximum(int maximum) {
    fileMaximum_ = maximum;
}

void ConsoleSink::SetFilePosition(int position) {
    if (showProgress_ && fileMaximum_ >= kRecordsPerProgressLine &&
        (position % kRecordsPerProgressLine == 0 || position == fileMaximum_)) {
        Write(stderr, u"\rPasso %1 de %2: registro %3 de %4"_s.arg(overallPosition_ + 1)
                          .arg(overallMaximum_)
                          .arg(position)
                          .arg(fileMaximum_));
        std::fflush(stderr);
        progressShown_ = true;
    }
}

void ConsoleSink::BimesterMissing() {
    EraseProgress();
    Write(stderr, u"Escolha o Bimestre de Referência!\n"_s);
}

void ConsoleSink::EraseProgress() {
    if (!progressShown_)
        return;
    Write(stderr, u"\r"_s + QString(60, u' ') + u'\r');
    std::fflush(stderr);
    progressShown_ = false;
}

} // namespace lrf::cli
