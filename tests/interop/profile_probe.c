/* Reads and writes profile keys through the Windows profile functions, so that tests can hold the program's
   own reader and writer against them (under Wine). Commands on standard input, one per line, each field in
   hexadecimal ("-" for an empty one); one answer line per command:
     a                          -> the ANSI code page
     r FILE SECTION KEY         -> "=" and the value, or "-" when the key is missing
     i FILE SECTION KEY         -> GetPrivateProfileIntA's number, unsigned, with 3141592 as the default
     w FILE SECTION KEY VALUE   -> 1 when written, else 0 */
#include <windows.h>

#include <stdio.h>
#include <string.h>

enum { FieldRoom = 40000 };

static void Unhex(const char* hex, char* out) {
    size_t n = 0;
    unsigned byte = 0;
    while (hex[0] && hex[1] && n < FieldRoom / 2 - 1 && sscanf(hex, "%2x", &byte) == 1) {
        out[n++] = (char)byte;
        hex += 2;
    }
    out[n] = 0;
}

int main(void) {
    static char line[5 * FieldRoom], verb[8], hex[4][FieldRoom], field[4][FieldRoom / 2], value[FieldRoom / 2];
    while (fgets(line, sizeof line, stdin)) {
        const int count = sscanf(line, "%7s %39999s %39999s %39999s %39999s", verb, hex[0], hex[1], hex[2], hex[3]);
        for (int i = 0; i < 4; ++i)
            Unhex(i + 1 < count ? hex[i] : "", field[i]);
        if (verb[0] == 'a') {
            printf("%u\n", GetACP());
        } else if (verb[0] == 'r' && count >= 4) {
            /* DEL as the default: no test value is DEL alone. */
            const DWORD size = GetPrivateProfileStringA(field[1], field[2], "\x7f", value, sizeof value, field[0]);
            if (size == 1 && value[0] == '\x7f') {
                printf("-\n");
            } else {
                printf("=");
                for (DWORD i = 0; i < size; ++i)
                    printf("%02x", (unsigned char)value[i]);
                printf("\n");
            }
        } else if (verb[0] == 'i' && count >= 4) {
            printf("%u\n", GetPrivateProfileIntA(field[1], field[2], 3141592, field[0]));
        } else if (verb[0] == 'w' && count >= 4) {
            printf("%d\n", WritePrivateProfileStringA(field[1], field[2], field[3], field[0]) ? 1 : 0);
        } else {
            printf("?\n");
        }
        fflush(stdout);
    }
    return 0;
}
