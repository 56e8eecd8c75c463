/* A compiled program using files, folders and banks; it leaves one file and one bank
 * open, which the end of the program closes and frees. The folder is its argument. */
#include "../../host/modules/common.h"

static tbString* in_folder(const char* name) { return __tbStrConcat(_fcommandline(), S(name)); }

void __MAIN(void) {
    int32_t out = _fwritefile(in_folder("\\Saved.DAT"));
    _fwritestring(out, S("record"));
    _fwriteint(out, 1234);
    _fclosefile(out);

    int32_t in = _freadfile(in_folder("\\saved.dat"));
    logJoin("string=", _freadstring(in));
    logInt("int=", _freadint(in));
    logInt("eof=", _feof(in));
    _fclosefile(in);

    int32_t bank = _fcreatebank(6);
    int32_t again = _freadfile(in_folder("/SAVED.dat"));
    logInt("bytes=", _freadbytes(bank, again, 0, 6));
    logInt("length=", _fpeekint(bank, 0));
    logInt("size=", _ffilesize(in_folder("\\saved.dat")));
    logInt("type=", _ffiletype(_fcommandline()));

    int32_t open_at_end = _fwritefile(in_folder("\\unclosed.dat"));
    _fwriteline(open_at_end, S("kept"));
}
