#pragma once

#include "DeviceRegistry.h"
#include "ParamNames.h"
#include "ParamValue.h"
#include "TOLG.h"

#include <QList>

#include <QString>

#include <cstdint>
#include <optional>

namespace olg::cli {

// "ip", "text", "u8", "u16", "u32", "six", or "none".
QString KindName(std::uint8_t kind);

// A value as the user reads it: addresses dotted, texts decoded from Windows-1252, numbers in decimal (the
// 32-bit ones unsigned), six-byte values as MAC addresses. An empty value gives the empty text.
QString FormatParamValue(std::uint8_t kind, const ParamValue& value);

// What stands for a password unless the user asks to see it.
inline constexpr char MaskedPassword[] = "********";

// FormatParamValue, a password masked unless showPasswords; an empty password stays empty, which tells
// nothing but that there is none.
QString ShownParamValue(std::uint8_t kind, const ParamValue& value, bool password, bool showPasswords);

// The parameter names of a device of this type code.
const ParamNames& NamesOf(const DeviceRegistry& registry, const ParamValue& type);

// The value the user typed for a parameter of this kind, or nothing with the reason in *error.
// Addresses must be four decimal octets; numbers decimal or 0x hexadecimal within the kind's range; texts
// must be representable in Windows-1252, fit one item (255 bytes) and hold no CR, LF or NUL.
std::optional<ParamValue> ParseParamValue(std::uint8_t kind, const QString& text, QString* error);

// The ids a write of the record sends (the general ones only, or all) that hold no value yet: written, they
// would become zero or an empty text.
QList<int> MissingWriteValues(const DeviceRegistry& registry, const TOLG& record, bool generalOnly);
// The message of the dialogs when two login names of the record are the same (they would lock each other
// out), else empty.
QString LoginsProblem(const DeviceRegistry& registry, const TOLG& record);
// "DEVICE did not report parameter(s) ...; nothing was written" when there are such ids, else empty.
QString MissingWriteValuesProblem(const DeviceRegistry& registry, const TOLG& record, bool generalOnly,
                                  const QString& device);

} // namespace olg::cli
