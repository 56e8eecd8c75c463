/* Text and shapes on a 320 x 240 window, shown for a few seconds (for a screenshot). */
#include "../../host/modules/common.h"

void __MAIN(void) {
    _fgraphics(320, 240, 0, 2);
    _fclscolor(16, 32, 64);
    _fcls();
    _fcolor(255, 200, 0);
    _frect(10, 10, 100, 60, 1);
    _fcolor(255, 255, 255);
    _frect(8, 8, 104, 64, 0);
    _fcolor(0, 200, 255);
    _foval(130, 10, 80, 60, 1);
    _fcolor(255, 64, 64);
    _foval(220, 10, 90, 60, 0);
    _fline(10, 90, 310, 130);
    _fline(10, 130, 310, 90);
    _fsetfont(_floadfont(S("arial"), 24, 1, 0, 0));
    _fcolor(255, 255, 255);
    _ftext(160, 160, S("Tarsk text"), 1, 1);
    _fsetfont(_floadfont(S("times new roman"), 16, 0, 1, 1));
    _fcolor(0, 0, 0);
    _frect(0, 190, 320, 50, 1);
    _fcolor(255, 255, 128);
    _ftext(10, 195, S("Italic, underlined: \x80 \xe9\xe8 \xdf"), 0, 0);
    _fsetfont(_floadfont(S("courier"), 14, 0, 0, 0));
    _flocate(10, 215);
    _fwrite(S("Courier console "));
    _fprint(S("printed"));
    logText("drawn");
    _fdelay(3000);
}
