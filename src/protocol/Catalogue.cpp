#include "Catalogue.h"

namespace olg {
namespace {

// Builds a table block by block, in the order the blocks are appended.
class TableBuilder {
public:
    TableBuilder& Add(int id, std::uint8_t kind, std::uint8_t access, bool general = false) {
        table_.push_back(ParamDescriptor{static_cast<std::uint16_t>(id), access, kind,
                                         static_cast<std::uint8_t>(general ? 1 : 0), 0});
        return *this;
    }

    // Ids 1-13: network settings, names, administrator account, version and type code.
    TableBuilder& CommonBlock() {
        Add(1, KindIp, AccessReadWrite, true);
        Add(2, KindIp, AccessReadWrite, true);
        Add(3, KindIp, AccessReadWrite, true);
        Add(4, KindU16, AccessReadWrite, true);
        Add(5, KindText, AccessRead, true);
        Add(6, KindU8, AccessReadWrite, true);
        Add(7, KindText, AccessReadWrite, true);
        Add(8, KindText, AccessLogin);
        Add(9, KindText, AccessReadWrite);
        Add(10, KindSix, AccessRead);
        Add(11, KindText, AccessRead);
        Add(12, KindText, AccessRead, true);
        return Add(13, KindU32, AccessRead, true);
    }

    // Ids 17-19: URL, login and password of the hidden web page.
    TableBuilder& HiddenPageBlock() {
        Add(17, KindText, AccessReadWrite);
        Add(18, KindText, AccessLogin);
        return Add(19, KindText, AccessReadWrite);
    }

    // `count` masks from `base`, each an address and a flags byte.
    TableBuilder& SecurityMasks(int base, int count) {
        for (int m = 0; m < count; ++m) {
            Add(base + 2 * m, KindIp, AccessReadWrite);
            Add(base + 2 * m + 1, KindU8, AccessReadWrite);
        }
        return *this;
    }

    TableBuilder& SupervisionBlock(int base) {
        Add(base, KindIp, AccessReadWrite);
        Add(base + 1, KindU8, AccessReadWrite);
        for (int id = base + 2; id <= base + 6; ++id)
            Add(id, KindU16, AccessReadWrite);
        return *this;
    }

    // `count` blocks from `base`: socket name, user login, user password, authorized sockets.
    TableBuilder& SocketUserBlocks(int base, int count) {
        for (int s = 0; s < count; ++s) {
            const int b = base + 4 * s;
            Add(b, KindText, AccessReadWrite);
            Add(b + 1, KindText, AccessLogin);
            Add(b + 2, KindText, AccessReadWrite);
            Add(b + 3, KindU8, AccessReadWrite);
        }
        return *this;
    }

    TableBuilder& Range(int first, int last, std::uint8_t kind, std::uint8_t access) {
        for (int id = first; id <= last; ++id)
            Add(id, kind, access);
        return *this;
    }

    TConfigFile Take() { return std::move(table_); }

private:
    TConfigFile table_;
};

// Ids 56-85 shared by olg4a and olg4n: four sockets with users, restart delays, power-up state, counters.
TableBuilder& FourSocketTail(TableBuilder& builder) {
    return builder.SocketUserBlocks(56, 4)
        .Range(72, 75, KindU8, AccessReadWrite)
        .Add(80, KindU8, AccessReadWrite)
        .Range(81, 85, KindU32, AccessRead);
}

} // namespace

TConfigFile Olg1nTable() {
    TableBuilder builder;
    builder.CommonBlock().HiddenPageBlock().SupervisionBlock(20);
    // The mask addresses stand before the mask flags in this model's table.
    for (int id = 30; id <= 36; id += 2)
        builder.Add(id, KindIp, AccessReadWrite);
    for (int id = 31; id <= 37; id += 2)
        builder.Add(id, KindU8, AccessReadWrite);
    builder.Add(40, KindText, AccessReadWrite)
        .Add(41, KindText, AccessLogin)
        .Add(42, KindText, AccessReadWrite)
        .Add(50, KindU8, AccessReadWrite)
        .Add(70, KindU8, AccessReadWrite)
        .Range(71, 72, KindU32, AccessRead);
    return builder.Take();
}

TConfigFile Olg4aTable() {
    TableBuilder builder;
    builder.CommonBlock().HiddenPageBlock().SecurityMasks(20, 4);
    return FourSocketTail(builder).Take();
}

TConfigFile Olg4nTable() {
    TableBuilder builder;
    builder.CommonBlock().HiddenPageBlock().SecurityMasks(20, 4);
    for (int base = 28; base <= 49; base += 7)
        builder.SupervisionBlock(base);
    return FourSocketTail(builder).Take();
}

TConfigFile Olg8aTable() {
    TableBuilder builder;
    builder.CommonBlock().HiddenPageBlock().SecurityMasks(20, 8);
    builder.Add(36, KindU8, AccessReadWrite).Add(37, KindText, AccessReadWrite);
    for (int o = 0; o <= 400; o += 100) {
        builder.Add(39 + o, KindText, AccessReadWrite).Add(40 + o, KindU8, AccessReadWrite);
        builder.SocketUserBlocks(41 + o, 8).Range(81 + o, 89 + o, KindU32, AccessRead);
    }
    return builder.Take();
}

TConfigFile Olg8nTable() {
    TableBuilder builder;
    builder.CommonBlock().HiddenPageBlock().SecurityMasks(20, 4);
    for (int base = 28; base <= 49; base += 7)
        builder.SupervisionBlock(base);
    builder.SocketUserBlocks(56, 4)
        .Range(72, 75, KindU8, AccessReadWrite)
        .Add(80, KindU16, AccessReadWrite)
        .Range(81, 89, KindU32, AccessRead);
    for (int base = 128; base <= 149; base += 7)
        builder.SupervisionBlock(base);
    builder.SocketUserBlocks(156, 4).Range(172, 175, KindU8, AccessReadWrite);
    return builder.Take();
}

TConfigFile Olg8kTable() {
    TableBuilder builder;
    builder.CommonBlock().SecurityMasks(20, 4).SocketUserBlocks(56, 4).SocketUserBlocks(156, 4);
    builder.Range(81, 89, KindU32, AccessRead);
    return builder.Take();
}

TConfigFile Olg8wTable() {
    TableBuilder builder;
    builder.CommonBlock().Add(14, KindIp, AccessReadWrite, true).Add(15, KindIp, AccessReadWrite, true);
    return builder.HiddenPageBlock().Take();
}

std::uint8_t BuiltInKind(int id) {
    switch (id) {
    case 1:
    case 2:
    case 3:
    case 14:
    case 15:
        return KindIp;
    case 4:
        return KindU16;
    case 5:
    case 7:
    case 12:
        return KindText;
    case 6:
        return KindU8;
    case 13:
        return KindU32;
    default:
        return KindNone;
    }
}

} // namespace olg
