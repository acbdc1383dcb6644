#include "web/picture_fetch.h"

PictureFetch ClassifyPictureFetch(int httpsGetResult) {
    if (httpsGetResult == 0) {
        return PictureFetch::NoPicture;
    }
    // 1 stands for "no session", never for a one-byte body.
    return httpsGetResult > 1 ? PictureFetch::Body : PictureFetch::Failed;
}
