#include "settings/win32/colour_upload.h"

#include "settings/colour_record.h"
#include "web/service_paths.h"
#include "web/win32/https_client.h"

#include <cstdio>

void UploadBackgroundColour(std::uint32_t colour, int account) {
    const ColourRecord record = BuildColourRecord(colour, account);
    char path[kServicePathCapacity];
    std::snprintf(path, sizeof path, "%s%s", kUsersBase, "params.php");

    ResponseBuffer::Lease response = SharedResponseBuffer().Acquire();
    const InternetHandle session = OpenServiceSession();
    if (!session) {
        return;
    }
    const InternetHandle connection = ConnectToService(session.Get());
    if (!connection) {
        return;
    }
    const InternetHandle request(HttpsPost(connection.Get(), path, record, PostWatch::Fetch));
    if (!request) {
        return;
    }
    response.CurrentRequest() = request.Get();
    QueryStatusCode(response);
    response.CurrentRequest() = nullptr;
}
