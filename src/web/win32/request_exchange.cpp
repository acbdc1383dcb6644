#include "web/win32/request_exchange.h"

#include <algorithm>
#include <cstring>

namespace {

// Cut exchanges of the whole process: the main thread and the accessory thread share the one service.
CutExchanges& ServiceCutExchanges() {
    static CutExchanges cut;
    return cut;
}

std::uint32_t ResultOf(BOOL succeeded) {
    return succeeded ? 0 : static_cast<std::uint32_t>(GetLastError());
}

} // namespace

RequestExchange::RequestExchange(InternetHandle& request, ExchangeWatch watch)
    : request_(request.Get()), scratch_(std::make_shared<Scratch>()),
      exchange_(ServiceCutExchanges(), watch, [&request] { request.Reset(); }) {}

DWORD RequestExchange::Run(WatchedExchange::Call call) {
    const std::optional<std::uint32_t> result = exchange_.Run(std::move(call));
    return result ? static_cast<DWORD>(*result) : static_cast<DWORD>(ERROR_WINHTTP_TIMEOUT);
}

DWORD RequestExchange::Send(const wchar_t* headers, DWORD totalLength) {
    const DWORD headersLength = headers == WINHTTP_NO_ADDITIONAL_HEADERS ? 0 : static_cast<DWORD>(-1);
    return Run([request = request_, headers, headersLength, totalLength] {
        return ResultOf(
            WinHttpSendRequest(request, headers, headersLength, WINHTTP_NO_REQUEST_DATA, 0, totalLength, 0));
    });
}

DWORD RequestExchange::Write(std::span<const std::uint8_t> bytes) {
    const std::size_t count = std::min(bytes.size(), kChunkBytes);
    std::memcpy(scratch_->bytes, bytes.data(), count);
    scratch_->count = static_cast<DWORD>(count);
    const DWORD result = Run([request = request_, scratch = scratch_] {
        DWORD written = 0;
        return ResultOf(WinHttpWriteData(request, scratch->bytes, scratch->count, &written));
    });
    if (result == 0) {
        exchange_.Moved();
    }
    return result;
}

DWORD RequestExchange::ReceiveResponse() {
    return Run([request = request_] { return ResultOf(WinHttpReceiveResponse(request, nullptr)); });
}

std::optional<std::size_t> RequestExchange::Available() {
    if (Run([request = request_, scratch = scratch_] {
            return ResultOf(WinHttpQueryDataAvailable(request, &scratch->count));
        }) != 0) {
        return std::nullopt;
    }
    return scratch_->count;
}

std::optional<std::size_t> RequestExchange::Read(std::span<std::uint8_t> into) {
    const auto wanted = static_cast<DWORD>(std::min(into.size(), kChunkBytes));
    if (Run([request = request_, scratch = scratch_, wanted] {
            return ResultOf(WinHttpReadData(request, scratch->bytes, wanted, &scratch->count));
        }) != 0) {
        return std::nullopt;
    }
    const std::size_t read = std::min<std::size_t>(scratch_->count, wanted);
    std::memcpy(into.data(), scratch_->bytes, read);
    return read;
}
