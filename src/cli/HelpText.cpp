#include "HelpText.h"

namespace olg::cli {

namespace {

const char* const CommonOptions = R"(
Options of every verb:
  --bind ADDR:PORT    local address and UDP port of the exchange (default 0.0.0.0:52389; port 0: a
                      free one)
  --target ADDR:PORT  where requests are sent (default 255.255.255.255:52389, the LAN's broadcast)
  --interface NAME    send the LAN broadcast out of this network interface only, and ignore replies that
                      come in on others; may be repeated (default: every interface that is up, can
                      broadcast and is not loopback)
  --demo              work on a simulated LAN of sixteen devices on loopback instead of the real one; it
                      keeps the changes made to it from one run to the next
  --demo-reset        the same, started afresh
  --help              this help
  --quiet             print only the result lines and the summary: no progress, no notes
  --version           the program's version
)";

const char* const ToolHelp = R"(Usage: olgctl [OPTIONS] VERB [ARGUMENTS]

Finds the eOutletGuard power switches of the LAN, reads or writes their parameters and upgrades their firmware.

Verbs:
  scan    list the devices that answer a scan
  read    show every parameter of one device or several
  write   change parameters of one device or several
  save    save the configuration of one device into a .cfg file, or of several into a folder
  load    write a configuration saved in a .cfg file into one device or several
  label   make the MAC label of one device and record it in the MAC log
  upgrade send new firmware, or a set of files, to one device or several

"olgctl VERB --help" tells more about a verb.
DEVICE is a MAC address (separators "-", ":" or ".", any case), an IP address or a device name. A device
named by its MAC or by the address its replies come from is taken as soon as it answers; a name, which must be
unique, waits for the whole scan.
Every verb but scan takes several DEVICEs: repeat DEVICE, or give type=MODEL (every device of that model, as
the Type column shows it) or all. They scan once, then work on one device after the other, and fail when any
device failed; all but read print a line per device and a summary, and write, load and upgrade ask before
acting on more than one device unless --yes is given.
A broadcast leaves through every network interface that can broadcast, and a request to one device through
the interface its replies came in on.
Table output shows control characters of device texts as \xHH; csv and json keep them as they are.

Exit codes: 0 done, 1 the device or the network failed, 2 the command line is wrong.
)";

const char* const ScanHelp = R"(Usage: olgctl scan [--format table|csv|json]

Sends ten discovery broadcasts, 250 ms apart, and lists every device that answers, in the order of their
first replies: name, type, the IP address the reply came from, MAC address, type code, firmware version, the
network interface the reply came in on, and the MACs of the other devices that answer from the same address on
that interface (a conflict, also told on the error stream).
At most 65536 devices are listed; a warning says when further devices were ignored.

  --format FORMAT  table (default), csv or json
)";

const char* const ReadHelp = R"(Usage: olgctl read DEVICE... [--format table|csv|json] [--show-passwords]

Scans, then reads every parameter of the device and shows each with its id, name, kind, access and value:
addresses dotted, texts as text, numbers in decimal, six-byte values as MAC addresses, passwords as ********.
Several devices make one list whose rows begin with the device's MAC address.

  --format FORMAT   table (default), csv or json
  --show-passwords  show passwords as they are
)";

const char* const WriteHelp = R"(Usage: olgctl write DEVICE ID=VALUE... [--all]
       olgctl write DEVICE... ID=VALUE... [--all] [--yes]

Scans, sets the given parameters in a copy of the device's record and writes it back. A parameter is named by
its id or by the name olgctl read shows (ip=10.0.0.5, name="Lobby rack"). Values are read by the parameter's
kind: an IPv4 address as a.b.c.d, a number in decimal or as 0x hexadecimal within its range, a text
as given (at most 255 bytes in the device's code page, Windows-1252). Read-only and unknown ids are refused and
nothing is sent.

Only the general network settings are written, unless --all is given or an id outside them is set; then the
whole record is read from the device first and written back whole, so that no parameter gets a value that was
never read.

A device counts as written only when it answers the write itself.

  --all  write every writable parameter
  --yes  write into several devices without asking first
)";

const char* const SaveHelp = R"(Usage: olgctl save DEVICE FILE.cfg
       olgctl save DEVICE... FOLDER

Scans, reads every parameter of the device and writes them into the section of its model in FILE.cfg, as the
Finder's Save Config does: one key per parameter id, addresses dotted, numbers in decimal, texts as they are.
The file's other sections and lines are kept; a new file is readable by its owner only, since it holds the
account passwords. A text with a line break or a NUL byte cannot be saved: nothing is written then.
Several devices are saved into FOLDER, each into a file of its own named after its MAC (00-0A-95-9D-68-16.cfg).
)";

const char* const LoadHelp =
    R"(Usage: olgctl load DEVICE FILE.cfg [--dry-run] [--format table|csv|json] [--show-passwords]
       olgctl load DEVICE... FILE.cfg [--yes] [--with-address]

Scans, reads the device, takes the section of its model from FILE.cfg and writes every writable parameter of
it into the device with the full write, as the Finder's Load Config does once its dialog is confirmed.
The file must have been saved from a device of the same model and type code. Loaded into one device, the
address, mask, gateway and device name come from the file too, with a warning when another listed device
answers from that address; loaded into several, each device keeps its own unless --with-address is given.

  --dry-run         only list the parameters the load would change: id, name, old value, new value
  --format FORMAT   of that list: table (default), csv or json
  --show-passwords  show passwords in that list instead of ********
  --with-address    copy the address, mask, gateway and name into several devices too; refused when two
                    of them are of one model, which would give them one address
  --yes             load into several devices without asking first
)";

const char* const LabelHelp = R"(Usage: olgctl label DEVICE [--pdf FILE | --png FILE] [--log FILE]
       olgctl label DEVICE... --log FILE

Scans, then makes the MAC label of the device: a Code 128 symbol (subset A) of its MAC address written with
"-", with the text under the bars, as a landscape PDF page or as a PNG image; and adds the device to the MAC
log, a fixed-column text file. A MAC address already in the log is not added again: the tool says
"MAC Address already in use!" and exits with 1, after making the label all the same.

  --pdf FILE  the label as a PDF page
  --png FILE  the label as a PNG image
  --log FILE  the MAC log to add the device to
)";

const char* const UpgradeHelp =
    R"(Usage: olgctl upgrade DEVICE... FILE [--yes] [--tftp-port PORT] [--ftp-port PORT]

Scans, then asks the device how it takes new firmware and sends it the way it asks:
  FILE.bin  an image: by TFTP, then read back and compared, or by FTP as "image.bin" or "rom.bin" (the file's
            path must hold one of these names)
  FILE.cfg  an upload list, one file name a line, of files beside it: the device's FTP store is emptied, then
            every listed file is stored
The warning is printed and the upgrade asked for on the terminal unless --yes is given, once for all the
devices named. Several devices are upgraded one after the other, each the way it asks. Progress goes to the
error stream. The exit code is 0 only when every transfer succeeded, for a TFTP image with its read-back.

  --yes             do not ask
  --tftp-port PORT  the devices' TFTP port (default 69)
  --ftp-port PORT   the devices' FTP port (default 21)
)";

} // namespace

QString HelpText(const QString& verb) {
    const char* text = nullptr;
    if (verb.isEmpty())
        text = ToolHelp;
    else if (verb == QLatin1String("scan"))
        text = ScanHelp;
    else if (verb == QLatin1String("read"))
        text = ReadHelp;
    else if (verb == QLatin1String("write"))
        text = WriteHelp;
    else if (verb == QLatin1String("save"))
        text = SaveHelp;
    else if (verb == QLatin1String("load"))
        text = LoadHelp;
    else if (verb == QLatin1String("label"))
        text = LabelHelp;
    else if (verb == QLatin1String("upgrade"))
        text = UpgradeHelp;
    if (!text)
        return {};
    return QString::fromUtf8(text) + QString::fromUtf8(CommonOptions);
}

} // namespace olg::cli
