#pragma once

// What a picture request came to, from HttpsGet's result.
enum class PictureFetch {
    NoPicture, // the service has none (a status other than 200 or an empty body)
    Failed,    // no session, no connection or no reply: what is shown stays as it was
    Body,      // a body arrived; it may still fail to decode
};

PictureFetch ClassifyPictureFetch(int httpsGetResult);
