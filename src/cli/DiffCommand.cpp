#include "DiffCommand.h"

#include "ConfigFileStore.h"
#include "DeviceSelector.h"
#include "ExitCode.h"
#include "ListWriter.h"
#include "ParamIds.h"
#include "ParamText.h"
#include "RecordDiff.h"

namespace olg::cli {

namespace {

const char* const HelpText = R"(Usage: olgctl diff A B [--format table|csv|json] [--show-passwords]

Shows the parameters in which A and B differ, one per line: the id, the name olgctl read shows, the
dialog page that shows the parameter where one does, and both values. A and B are each a DEVICE or a
configuration file saved by olgctl save or the Finder (a word that ends in .cfg or holds a "/"). A device
is compared with the file's section for its model and type code; two files are compared in every model
section both hold, two devices only when they are of one type code. Devices are found with one scan.

Exit codes: 0 when A and B are the same, 1 when they differ or a device does not answer, 2 when an
argument is wrong (a file that cannot be read, files with no model section in common).

  --format FORMAT   table (default), csv or json
  --show-passwords  show passwords instead of ********
)";

// A record of the model's type that holds nothing yet, to load a file's section into.
TOLG Blank(const DeviceRegistry& registry, int type) {
    TOLG record;
    record.SetValue(param::ModelName, ParamValue::Text(registry.Entry(type).Model));
    record.SetValue(param::TypeCode,
                    ParamValue::Integer(static_cast<std::int32_t>(registry.Entry(type).TypeCode)));
    return record;
}

} // namespace

std::unique_ptr<Command> MakeDiffCommand() {
    return std::make_unique<DiffCommand>();
}

DiffCommand::DiffCommand()
    : Command(QStringLiteral("diff"), QStringLiteral("show where two devices or saved configurations differ"),
              QString::fromUtf8(HelpText), {FormatOption(), {QStringLiteral("show-passwords"), {}}}) {}

bool DiffCommand::NamesFile(const QString& word) {
    return word.endsWith(QLatin1String(".cfg"), Qt::CaseInsensitive) || word.contains(QLatin1Char('/'));
}

int DiffCommand::Run(Session& session) {
    if (Words().size() != 2) {
        session.Prompts().ShowError(
            QStringLiteral("diff takes two words, each a DEVICE or a FILE.cfg (try olgctl diff --help)"));
        return ExitUsage;
    }
    for (const QString& word : Words()) {
        if (NamesFile(word) ? !session.CheckReadable(word) : Session::NamesSeveral({word})) {
            if (!NamesFile(word))
                session.Prompts().ShowError(QStringLiteral("diff compares one device with one other thing; "
                                                           "\"%1\" may name several")
                                                .arg(word));
            return ExitUsage;
        }
    }
    const QList<int> devices = SelectDevices(session);
    if (devices.isEmpty())
        return ExitFailure;
    for (int device : devices) {
        if (device >= 0 && !session.ReadAll(device))
            return ExitFailure;
    }
    std::vector<Pair> pairs;
    if (const int failure = Pairs(session, devices, &pairs); failure != ExitOk)
        return failure;

    const DeviceRegistry& registry = session.Registry();
    const bool models = devices == QList<int>{-1, -1};
    QList<ListWriter::Column> columns{{QStringLiteral("Id"), QStringLiteral("id")},
                                      {QStringLiteral("Name"), QStringLiteral("name")},
                                      {QStringLiteral("Caption"), QStringLiteral("caption")},
                                      {Words().at(0), QStringLiteral("a")},
                                      {Words().at(1), QStringLiteral("b")}};
    // Two files may hold several models.
    if (models)
        columns.prepend({QStringLiteral("Model"), QStringLiteral("model")});
    ListWriter list(columns);
    const bool showPasswords = IsSet(QStringLiteral("show-passwords"));
    bool differ = false;
    for (const Pair& pair : pairs) {
        const ParamValue& type = pair.A.TypeValue();
        const ParamNames& names = NamesOf(registry, type);
        for (int id : RecordDiff::DifferingIds(registry, pair.A, pair.B, RecordDiff::Scope::Held)) {
            const std::uint8_t kind = registry.ParamKind(id, type);
            QVariantList row{id, QString::fromStdString(names.NameOf(id)),
                             QString::fromStdString(names.CaptionOf(id)),
                             ShownParamValue(kind, pair.A.Value(id), names.IsPassword(id), showPasswords),
                             ShownParamValue(kind, pair.B.Value(id), names.IsPassword(id), showPasswords)};
            if (models)
                row.prepend(QString::fromStdString(pair.Model));
            list.AddRow(row);
            differ = true;
        }
    }
    list.Write(session.Out(), Format());
    return differ ? ExitFailure : ExitOk;
}

QList<int> DiffCommand::SelectDevices(Session& session) const {
    QStringList named;
    for (const QString& word : Words()) {
        if (!NamesFile(word))
            named.append(word);
    }
    if (named.isEmpty())
        return {-1, -1};
    QList<int> selected;
    if (named.size() == 1) {
        const int device = session.ScanAndSelect(named.front());
        if (device < 0)
            return {};
        selected.append(device);
    } else {
        // One scan for both.
        if (!session.Scan())
            return {};
        for (const QString& word : named) {
            QString error;
            const int device = DeviceSelector(session.Devices()).Select(word, &error);
            if (device < 0) {
                session.Prompts().ShowError(error);
                return {};
            }
            selected.append(device);
        }
    }
    QList<int> devices;
    for (const QString& word : Words())
        devices.append(NamesFile(word) ? -1 : selected.takeFirst());
    return devices;
}

int DiffCommand::Pairs(Session& session, const QList<int>& devices, std::vector<Pair>* pairs) const {
    const DeviceRegistry& registry = session.Registry();
    const ConfigFileStore store(registry);
    // The file's section for this record's model and type code; an exit code when there is none.
    const auto load = [&](const QString& path, TOLG& record) {
        QString error;
        switch (store.Load(path, record, ConfigProfile::Check::Review, &error)) {
        case ConfigFileStore::LoadResult::Loaded:
            return ExitOk;
        case ConfigFileStore::LoadResult::NotCompatible:
            session.Prompts().ShowError(
                QStringLiteral("%1 holds no configuration of the model and type code of %2")
                    .arg(path, session.Describe(devices.at(0) >= 0 ? devices.at(0) : devices.at(1))));
            return ExitUsage;
        case ConfigFileStore::LoadResult::Failed:
            break;
        }
        session.Prompts().ShowError(error);
        return ExitUsage;
    };

    if (devices.at(0) >= 0 || devices.at(1) >= 0) {
        const int device = devices.at(0) >= 0 ? devices.at(0) : devices.at(1);
        const TOLG& record = session.Devices().At(device);
        const int type = registry.FindDeviceType(record.TypeValue());
        if (type < 0) {
            session.Prompts().ShowError(
                QStringLiteral("%1 is of an unknown type").arg(session.Describe(device)));
            return ExitFailure;
        }
        Pair pair{registry.Entry(type).Model, record, record};
        if (devices.at(0) >= 0 && devices.at(1) >= 0) {
            pair.B = session.Devices().At(devices.at(1));
            if (pair.B.TypeValue() != record.TypeValue()) {
                session.Prompts().ShowError(
                    QStringLiteral("%1 and %2 are of different types; their parameters do not compare")
                        .arg(session.Describe(devices.at(0)), session.Describe(devices.at(1))));
                return ExitUsage;
            }
        } else {
            TOLG& loaded = devices.at(0) >= 0 ? pair.B : pair.A;
            loaded = Blank(registry, type);
            if (const int failure = load(Words().at(devices.at(0) >= 0 ? 1 : 0), loaded); failure != ExitOk)
                return failure;
        }
        pairs->push_back(std::move(pair));
        return ExitOk;
    }
    for (int type = 0; type < registry.Count(); ++type) {
        Pair pair{registry.Entry(type).Model, Blank(registry, type), Blank(registry, type)};
        QString error;
        const ConfigFileStore::LoadResult a =
            store.Load(Words().at(0), pair.A, ConfigProfile::Check::Review, &error);
        const ConfigFileStore::LoadResult b =
            a == ConfigFileStore::LoadResult::Loaded
                ? store.Load(Words().at(1), pair.B, ConfigProfile::Check::Review, &error)
                : a;
        if (a == ConfigFileStore::LoadResult::Failed || b == ConfigFileStore::LoadResult::Failed) {
            session.Prompts().ShowError(error);
            return ExitUsage;
        }
        if (b == ConfigFileStore::LoadResult::Loaded)
            pairs->push_back(std::move(pair));
    }
    if (pairs->empty()) {
        session.Prompts().ShowError(
            QStringLiteral("%1 and %2 hold no configuration of one model and type code")
                .arg(Words().at(0), Words().at(1)));
        return ExitUsage;
    }
    return ExitOk;
}

} // namespace olg::cli
