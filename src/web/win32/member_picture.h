#pragma once

#include "platform/geometry.h"

#include <windows.h>

// Fetches the picture of member `account` from the web service and draws it stretched into `place`. False
// when the service has no picture for the member, who then takes no place; a failed request or a body that
// is no PNG takes the place and leaves it as it was.
bool DrawMemberPicture(HDC dc, int account, const Rect& place);
