#include "cli/progressline.h"

#include "cli/cli.h"

#include <cstdio>

namespace bm::cli {

namespace {

constexpr int kRedrawMs = 100;

} // namespace

void ProgressLine::update(int done, int total)
{
    lastDone_ = done;
    lastTotal_ = total;
    if (!on_ || (sinceDraw_.isValid() && sinceDraw_.elapsed() < kRedrawMs))
        return;
    sinceDraw_.start();
    draw(done, total);
}

void ProgressLine::draw(int done, int total)
{
    const double seconds = started_.elapsed() / 1000.0;
    const double rate = seconds > 0 ? done / seconds : 0.0;
    const QString left = rate > 0 ? Cli::tr("%1 s left").arg(qRound((total - done) / rate)) : QStringLiteral("-");
    const QString text = Cli::tr("records %1 of %2, %3/s, %4").arg(done).arg(total).arg(rate, 0, 'f', 1).arg(left);
    // \r and a clear to the end of the line: the new text may be shorter.
    const QByteArray line = "\r" + text.toLocal8Bit() + "\x1b[K";
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressLine::finish()
{
    if (!on_ || !drawn_)
        return;
    draw(lastDone_, lastTotal_);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

} // namespace bm::cli
