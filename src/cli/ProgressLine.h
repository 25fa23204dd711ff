#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

namespace olg::cli {

// What olgctl tells on the error stream while it works: transfers and the device it is at. On a terminal it
// is one line drawn again in place; elsewhere (pipes, logs) plain lines in tenths, so a log stays short; with
// --quiet nothing. Anything else written to that terminal must call Clear() first.
class ProgressLine {
public:
    enum class Style { Plain, Redrawn, Quiet };

    // Redrawn when the stream writes to a terminal, else Plain.
    explicit ProgressLine(QTextStream& err);
    ProgressLine(QTextStream& err, Style style, int width) : err_(err), style_(style), width_(width) {}
    ~ProgressLine() { Clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    Style CurrentStyle() const { return style_; }
    void SetQuiet() { style_ = Style::Quiet; }

    // Work on device number (from 1) of count begins. Device texts come as a terminal may show them.
    void Step(int number, int count, const QString& device);
    // A line of its own, such as the transfer mode; left out when quiet.
    void Note(const QString& text);
    // A transfer of size bytes (0: unknown) to or from the device.
    void BeginTransfer(const QString& device, qint64 size);
    void Transfer(qint64 done);
    void EndTransfer() { Clear(); }
    // Takes a drawn line off the terminal.
    void Clear();

    // "42% 1.2 MiB of 2.9 MiB, 350.0 KiB/s, device"; without a size, what was read back.
    static QString TransferText(qint64 done, qint64 size, qint64 elapsedMs, const QString& device);

private:
    void Draw(const QString& text);

    QTextStream& err_;
    Style style_ = Style::Plain;
    int width_ = 80;
    bool drawn_ = false;
    QString step_; // "[2/5] " while several devices are worked on
    QString device_;
    qint64 size_ = 0;
    qint64 shownTenth_ = -1;
    QElapsedTimer transferClock_;
    QElapsedTimer drawClock_;
};

} // namespace olg::cli
