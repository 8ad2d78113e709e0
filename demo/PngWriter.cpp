#include "demo/PngWriter.h"
#include <windows.h>
#include <wincodec.h>
#include <climits>

namespace {

// One reference to a COM object, released at the end of its scope.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (object != nullptr) object->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    T** Out() { return &object; }
    T* Get() const { return object; }
    T* operator->() const { return object; }

private:
    T* object = nullptr;
};

// COM on this thread while it lives. A thread already in the multithreaded apartment keeps it:
// the imaging objects work in either.
class ComScope {
public:
    ComScope() : result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope()
    {
        if (SUCCEEDED(result)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

    bool Usable() const { return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE; }

private:
    HRESULT result;
};

// The paths are ANSI (code page 932); the imaging component takes UTF-16.
std::wstring Wide(const std::string& text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 1) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}

bool CreateFactory(ComRef<IWICImagingFactory>& factory)
{
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(factory.Out())));
}

// Red and blue change places: RGB to BGR and back.
void SwapRedBlue(const uint8_t* from, uint8_t* to, size_t bytes)
{
    for (size_t i = 0; i + 2 < bytes; i += 3) {
        to[i] = from[i + 2];
        to[i + 1] = from[i + 1];
        to[i + 2] = from[i];
    }
}

} // namespace

bool WritePng(const std::string& path, const RgbImage& image)
{
    // A row's bytes are counted in a UINT.
    if (image.width <= 0 || image.height <= 0 || image.width > INT_MAX / 3 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height * 3)
        return false;
    std::wstring file = Wide(path);
    ComScope com;
    // Declared after `com`, so released while COM is still on; the stream's release closes the file.
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    bool ok = !file.empty() && com.Usable() && CreateFactory(factory) &&
              SUCCEEDED(factory->CreateStream(stream.Out())) &&
              SUCCEEDED(stream->InitializeFromFilename(file.c_str(), GENERIC_WRITE)) &&
              SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) &&
              SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(frame.Out(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
              SUCCEEDED(frame->SetSize(static_cast<UINT>(image.width), static_cast<UINT>(image.height))) &&
              SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat24bppBGR);
    // The encoder is handed one converted row at a time, so no second copy of the image is made.
    std::vector<uint8_t> row(static_cast<size_t>(image.width) * 3);
    for (int y = 0; ok && y < image.height; ++y) {
        SwapRedBlue(image.pixels.data() + y * row.size(), row.data(), row.size());
        ok = SUCCEEDED(frame->WritePixels(1, static_cast<UINT>(row.size()), static_cast<UINT>(row.size()), row.data()));
    }
    return ok && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

bool ReadPng(const std::string& path, RgbImage& image)
{
    std::wstring file = Wide(path);
    ComScope com;
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICBitmapSource> bgr;
    GUID container = {};
    UINT width = 0, height = 0;
    bool ok = !file.empty() && com.Usable() && CreateFactory(factory) &&
              SUCCEEDED(factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                                           WICDecodeMetadataCacheOnDemand, decoder.Out())) &&
              SUCCEEDED(decoder->GetContainerFormat(&container)) && IsEqualGUID(container, GUID_ContainerFormatPng) &&
              SUCCEEDED(decoder->GetFrame(0, frame.Out())) &&
              SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.Get(), bgr.Out())) &&
              SUCCEEDED(bgr->GetSize(&width, &height)) && width > 0 && height > 0 && width <= INT_MAX / 3 &&
              height <= UINT_MAX / (width * 3) && height <= INT_MAX;
    if (!ok) return false;
    UINT stride = width * 3;
    std::vector<uint8_t> bits(static_cast<size_t>(stride) * height);
    if (FAILED(bgr->CopyPixels(nullptr, stride, static_cast<UINT>(bits.size()), bits.data()))) return false;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.resize(bits.size());
    SwapRedBlue(bits.data(), image.pixels.data(), bits.size());
    return true;
}
