#pragma once

#include "PlatformServices.h"

#include <QImage>
#include <QList>
#include <QMap>
#include <QPainter>

namespace olg::testing {

// The platform's services for tests, in force while it lives: settings in memory, a printer that paints
// each page into an image, fixed system figures, a browser that records what it opens, and the executable
// file the test names.
class RecordingPlatform : public PlatformServices,
                          public SettingsStore,
                          public PrinterService,
                          public SystemInformation,
                          public WebBrowser {
public:
    explicit RecordingPlatform(QString executableFile = {}) : executable(std::move(executableFile)) {
        PlatformServices::Install(this);
    }
    ~RecordingPlatform() override { PlatformServices::Install(nullptr); }

    SettingsStore& Settings() override { return *this; }
    PrinterService& Printer() override { return *this; }
    SystemInformation& System() override { return *this; }
    WebBrowser& Browser() override { return *this; }
    QString ExecutableFile() override { return executable; }

    QString Value(const QString& group, const QString& name) override {
        return settings.value(group + QLatin1Char('/') + name);
    }
    void SetValue(const QString& group, const QString& name, const QString& value) override {
        settings.insert(group + QLatin1Char('/') + name, value);
    }

    bool HasPrinter() override { return printerInstalled; }
    bool Print(const PrintJob& job, const std::function<void(QPainter&, int)>& page,
               QString* error) override {
        if (!printError.isEmpty()) {
            *error = printError;
            return false;
        }
        jobs.append(job);
        QImage image(3000, 1000, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        page(painter, 300);
        pages.append(image);
        return true;
    }

    qint64 TotalMemoryKB() override { return 16314828; }
    int ProcessorCount() override { return 8; }
    QString ProcessorName() override { return QStringLiteral("Test CPU 3000"); }

    bool Open(const QUrl& address) override {
        opened.append(address.toString());
        return browserInstalled;
    }

    QString executable;
    QMap<QString, QString> settings; // "group/name" -> value
    bool printerInstalled = true;
    QString printError; // when set, no job starts, for this reason
    QList<PrintJob> jobs;
    QList<QImage> pages;
    bool browserInstalled = true;
    QStringList opened;
};

} // namespace olg::testing
