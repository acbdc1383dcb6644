#pragma once

#include "web/response_buffer.h"

#include <windows.h>

// Bitmaps for GDI painting from the first `size` bytes of the leased response buffer, at the picture's own
// size, with transparent areas turned black. Null when the bytes are no picture the decoder takes. The caller
// deletes the bitmap. Each call starts GDI+ and shuts it down again.

// PNG only: anything without the PNG signature is refused before GDI+ is started.
HBITMAP DecodePngBitmap(const ResponseBuffer::Lease& response, int size);

// Any format GDI+ reads (PNG, JPEG, BMP, GIF, ...).
HBITMAP DecodeImageBitmap(const ResponseBuffer::Lease& response, int size);
