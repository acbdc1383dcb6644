#pragma once

#include "web/response_buffer.h"

#include <windows.h>

// Bitmaps for GDI painting from the first `size` bytes of the leased response buffer, at the picture's own
// size, with transparent areas turned black. Null when the bytes are no picture the decoder takes, or one
// whose header AdmitPicture refuses (cut short, or beyond the size bound): such bytes never reach GDI+. The
// caller deletes the bitmap. Each call starts GDI+ and shuts it down again.

// PNG only.
HBITMAP DecodePngBitmap(const ResponseBuffer::Lease& response, int size);

// PNG, JPEG, GIF or BMP.
HBITMAP DecodeImageBitmap(const ResponseBuffer::Lease& response, int size);
