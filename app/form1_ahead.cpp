// TForm1's decoding ahead: the pictures the next step either way will load,
// decoded while the user looks at the ring.
#include "app/form1.h"

// After a load and after each step: decodes what the next step either way
// will load, unless its plane shows that very picture already; first the
// way the user went last, who is likely to go on.
void TForm1::prepareDecodeAhead(int first)
{
    const int n = stlf->count();
    for (const int direction : {first, -first}) {
        const ring::StepLoad load = ring::stepLoad(imgFront, imgNumber, direction, n);
        const std::string& path = stlf->at(load.entry);
        image::PictureFile file = image::openPicture(path);
        const PictureSource source{file.identity(), detailFor(load.slot)};
        if (file.opened() && !showsAlready(load.slot, source))
            decodeAhead_.prepare(direction, path, std::move(file), source.detail);
        else
            decodeAhead_.drop(direction);
    }
}
