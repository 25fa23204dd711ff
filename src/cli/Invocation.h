#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace olg::cli {

// An olgctl command line taken apart. Options may stand before or after the verb.
struct Invocation {
    QString Verb;          // empty when none was given
    QStringList Arguments; // the words after the verb
    bool Help = false;
    bool Version = false;
    bool Demo = false;      // also set by --demo-reset
    bool DemoReset = false; // the simulated LAN starts afresh instead of as the last run left it
    bool All = false;
    bool DryRun = false;
    bool Yes = false;
    bool Quiet = false;
    bool ShowPasswords = false;
    bool WithAddress = false; // load copies the address, mask, gateway and name into several devices
    // The interfaces the LAN broadcast is limited to, in the order given.
    QStringList Interfaces;
    std::optional<QString> Bind;
    std::optional<QString> Target;
    std::optional<QString> Format;
    // label's outputs.
    std::optional<QString> Pdf;
    std::optional<QString> Png;
    std::optional<QString> Log;
    std::optional<QString> TftpPort;
    std::optional<QString> FtpPort;

    // The arguments without the program name; nothing with the reason in *error when an option is unknown or
    // lacks its value.
    static std::optional<Invocation> Parse(const QStringList& arguments, QString* error);
};

} // namespace olg::cli
