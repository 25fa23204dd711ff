#include "ProgressLine.h"

#include <QFile>
#include <QLocale>

#include <sys/ioctl.h>
#include <unistd.h>

namespace olg::cli {

namespace {

// Often enough to look alive, rarely enough that a fast transfer is not slowed by the terminal.
constexpr qint64 RedrawMs = 100;

QString Size(qint64 bytes) {
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeIecFormat);
}

} // namespace

ProgressLine::ProgressLine(QTextStream& err) : err_(err) {
    const auto* file = qobject_cast<const QFile*>(err.device());
    const int handle = file ? file->handle() : -1;
    if (handle < 0 || isatty(handle) == 0 || qgetenv("TERM") == "dumb")
        return;
    style_ = Style::Redrawn;
    winsize size{};
    if (ioctl(handle, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        width_ = size.ws_col;
}

void ProgressLine::Step(int number, int count, const QString& device) {
    step_ = count > 1 ? QStringLiteral("[%1/%2] ").arg(number).arg(count) : QString();
    if (style_ == Style::Redrawn && count > 1)
        Draw(QStringLiteral("%1%2% %3").arg(step_).arg((number - 1) * 100 / count).arg(device));
}

void ProgressLine::Note(const QString& text) {
    if (style_ == Style::Quiet)
        return;
    Clear();
    err_ << "olgctl: " << text << Qt::endl;
}

void ProgressLine::BeginTransfer(const QString& device, qint64 size) {
    device_ = device;
    size_ = size;
    shownTenth_ = -1;
    transferClock_.start();
    drawClock_.invalidate();
}

void ProgressLine::Transfer(qint64 done) {
    if (style_ == Style::Redrawn) {
        if (drawClock_.isValid() && drawClock_.elapsed() < RedrawMs && done != size_)
            return;
        drawClock_.start();
        Draw(step_ + TransferText(done, size_, transferClock_.elapsed(), device_));
        return;
    }
    if (style_ == Style::Quiet)
        return;
    // Tenths of a known size, whole MiB of an unknown one.
    const qint64 tenth = size_ > 0 ? done * 10 / size_ : done / (1024 * 1024);
    if (tenth == shownTenth_)
        return;
    shownTenth_ = tenth;
    if (size_ > 0)
        err_ << "olgctl:   " << tenth * 10 << "% of " << size_ << " bytes" << Qt::endl;
    else
        err_ << "olgctl:   " << done << " bytes read back" << Qt::endl;
}

void ProgressLine::Clear() {
    if (!drawn_)
        return;
    err_ << "\r\x1b[K" << Qt::flush;
    drawn_ = false;
}

void ProgressLine::Draw(const QString& text) {
    // A line longer than the terminal would wrap, and the next redraw would start on the wrong row.
    err_ << "\r\x1b[K" << (QStringLiteral("olgctl: ") + text).left(width_ - 1) << Qt::flush;
    drawn_ = true;
}

QString ProgressLine::TransferText(qint64 done, qint64 size, qint64 elapsedMs, const QString& device) {
    QString text = size > 0
                       ? QStringLiteral("%1% %2 of %3").arg(done * 100 / size).arg(Size(done), Size(size))
                       : QStringLiteral("%1 read back").arg(Size(done));
    if (elapsedMs > 0)
        text += QStringLiteral(", %1/s").arg(Size(done * 1000 / elapsedMs));
    return text + QStringLiteral(", ") + device;
}

} // namespace olg::cli
