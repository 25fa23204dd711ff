#pragma once

#include <QStringList>
#include <QTextStream>

namespace olg::cli {

// The olgctl program: takes the command line apart, sets up the exchange (on the LAN, on given addresses or
// on a simulated LAN) and runs the verb. All output goes to the two streams, so tests can capture it.
class OlgCtl {
public:
    // Questions are answered on in; without it, every answer is no.
    OlgCtl(QTextStream& out, QTextStream& err, QTextStream* in = nullptr) : out_(out), err_(err), in_(in) {}

    // The arguments without the program name; returns the exit code.
    int Run(const QStringList& arguments);

private:
    int Usage(const QString& message);

    QTextStream& out_;
    QTextStream& err_;
    QTextStream* in_;
};

} // namespace olg::cli
