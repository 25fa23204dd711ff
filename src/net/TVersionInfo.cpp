#include "TVersionInfo.h"

#include "VersionBlock.h"

#include <QCoreApplication>
#include <QFile>

#include <map>
#include <optional>
#include <string>

namespace olg {

namespace {

std::optional<std::map<std::string, std::string>> ReadBlock(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0)
        return std::nullopt;
    const uchar* mapped = file.map(0, file.size());
    if (!mapped)
        return std::nullopt;
    const std::span<const std::uint8_t> bytes(mapped, static_cast<std::size_t>(file.size()));
    const auto section = VersionBlock::FindSection(bytes, VersionBlock::SectionName);
    return section ? VersionBlock::Parse(*section) : std::nullopt;
}

} // namespace

TVersionInfo::TVersionInfo() {
    GetInfo(QCoreApplication::applicationFilePath());
}

void TVersionInfo::GetInfo(const QString& fileName) {
    const QString notAvailable = QString::fromUtf8(VersionBlock::NotAvailable);
    const std::optional<std::map<std::string, std::string>> block = ReadBlock(fileName);
    const auto value = [&](const char* key) {
        if (!block)
            return notAvailable;
        const auto found = block->find(key);
        return found == block->end() ? QString() : QString::fromStdString(found->second);
    };
    CompanyName = value("CompanyName");
    FileDescription = value("FileDescription");
    FileVersion = value("FileVersion");
    Internalname = value("InternalName");
    LegalCopyright = value("LegalCopyright");
    LegalTradeMarks = value("LegalTradeMarks");
    OriginalFilename = value("OriginalFilename");
    ProductName = value("ProductName");
    ProductVersion = value("ProductVersion");
    Comments = value("Comments");

    const auto parts = VersionBlock::SplitFileVersion(FileVersion.toStdString());
    for (auto [part, field] : {std::pair{0, &MajorVersion}, std::pair{1, &MinorVersion},
                               std::pair{2, &Release}, std::pair{3, &Build}})
        *field =
            block && parts ? QString::fromStdString((*parts)[static_cast<std::size_t>(part)]) : notAvailable;
}

DistributionVariant TVersionInfo::Distribution(const QString& fileName) {
    TVersionInfo version;
    version.GetInfo(fileName);
    return SelectDistribution(version.Build.toStdString());
}

} // namespace olg
