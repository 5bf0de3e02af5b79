// What the built tavrin.exe carries besides code: the application manifest
// (per-monitor DPI awareness, common controls 6, Windows 10 and 11), the
// bitmaps as drawn, and the program icon at every size.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "bitmap_ids.h"
#include "common/win32/unique_handle.h"
#include "image_files.h"
#include "pictograms.h"

namespace {

std::wstring ViewerPath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"tavrin.exe";
}

class TavrinResources : public ::testing::Test {
 protected:
  void SetUp() override {
    viewer_.reset(LoadLibraryExW(ViewerPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(viewer_) << "tavrin.exe not loaded, error " << GetLastError();
  }

  // The bytes of one resource; empty when it is not there.
  std::string Resource(const wchar_t* type, UINT id) const {
    HRSRC r = FindResourceW(viewer_.get(), MAKEINTRESOURCEW(id), type);
    if (r == nullptr) return {};
    HGLOBAL g = LoadResource(viewer_.get(), r);
    const void* data = g != nullptr ? LockResource(g) : nullptr;
    if (data == nullptr) return {};
    return std::string(static_cast<const char*>(data), SizeofResource(viewer_.get(), r));
  }

  win32::UniqueModule viewer_;
};

// The text of the first element `name`, and its opening tag.
struct Element {
  std::string tag;
  std::string text;
};
Element Find(const std::string& xml, const std::string& name) {
  size_t open = xml.find("<" + name);
  while (open != std::string::npos &&
         std::string(" />").find(xml[open + 1 + name.size()]) == std::string::npos) {
    open = xml.find("<" + name, open + 1);
  }
  if (open == std::string::npos) return {};
  const size_t end = xml.find('>', open);
  const size_t close = xml.find("</" + name + ">", end);
  Element e;
  e.tag = xml.substr(open, end - open + 1);
  if (close != std::string::npos && xml[end - 1] != '/') e.text = xml.substr(end + 1, close - end - 1);
  return e;
}
bool Has(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

TEST_F(TavrinResources, ManifestAsksForPerMonitorDpiAndCommonControls6) {
  const std::string xml =
      Resource(MAKEINTRESOURCEW(24), 1);  // RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID
  ASSERT_FALSE(xml.empty());
  // The newer setting first; systems before it read the older one.
  const Element awareness = Find(xml, "dpiAwareness");
  EXPECT_TRUE(Has(awareness.tag, "xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\""));
  EXPECT_EQ(awareness.text.substr(0, awareness.text.find(',')), "PerMonitorV2");
  const Element aware = Find(xml, "dpiAware");
  EXPECT_TRUE(Has(aware.tag, "xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\""));
  EXPECT_EQ(aware.text, "true/pm");

  const Element os = Find(xml, "supportedOS");
  EXPECT_TRUE(Has(os.tag, "Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"")) << os.tag;  // Windows 10 and 11
  EXPECT_TRUE(Has(Find(xml, "compatibility").tag, "urn:schemas-microsoft-com:compatibility.v1"));

  const Element controls = Find(Find(xml, "dependentAssembly").text, "assemblyIdentity");
  for (const char* attribute :
       {"type=\"win32\"", "name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
        "processorArchitecture=\"*\"", "publicKeyToken=\"6595b64144ccf1df\"", "language=\"*\""}) {
    EXPECT_TRUE(Has(controls.tag, attribute)) << attribute;
  }
  EXPECT_TRUE(Has(Find(xml, "requestedExecutionLevel").tag, "level=\"asInvoker\""));
}

// The loader accepts the manifest, and with it comctl32 comes from the side-by-side store (version 6).
TEST_F(TavrinResources, ManifestActivatesCommonControls6) {
  const std::wstring path = ViewerPath();
  ACTCTXW request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(1);
  const win32::UniqueActivationContext context(CreateActCtxW(&request));
  ASSERT_TRUE(context) << "manifest rejected, error " << GetLastError();
  ULONG_PTR cookie = 0;
  ASSERT_TRUE(ActivateActCtx(context.get(), &cookie));
  std::wstring loaded;
  {
    const win32::UniqueModule controls(LoadLibraryW(L"comctl32.dll"));
    wchar_t name[MAX_PATH] = {};
    if (controls) GetModuleFileNameW(controls.get(), name, MAX_PATH);
    loaded = name;
  }
  DeactivateActCtx(0, cookie);
  for (wchar_t& c : loaded) c = static_cast<wchar_t>(towlower(c));
  EXPECT_NE(loaded.find(L"winsxs"), std::wstring::npos) << std::string(loaded.begin(), loaded.end());
  EXPECT_NE(loaded.find(L"common-controls"), std::wstring::npos);
}

TEST_F(TavrinResources, BitmapsAreTheDrawings) {
  for (const pictures::BitmapPicture& b : pictures::Bitmaps()) {
    const std::string data = Resource(MAKEINTRESOURCEW(2), b.id);  // RT_BITMAP
    const std::vector<uint8_t> file = pictures::EncodeBmp24(b.draw());
    // A bitmap resource is the file without its 14-byte file header.
    ASSERT_EQ(data.size(), file.size() - 14) << b.id;
    EXPECT_EQ(
        data.compare(0, std::string::npos, reinterpret_cast<const char*>(file.data()) + 14, data.size()), 0)
        << b.id;
  }
}

TEST_F(TavrinResources, ProgramIconHasEverySize) {
  const std::string group = Resource(MAKEINTRESOURCEW(14), IDI_TAVRIN);  // RT_GROUP_ICON
  ASSERT_GE(group.size(), 6u);
  auto u16 = [&](size_t at) {
    return static_cast<unsigned>(uint8_t(group[at]) | (uint8_t(group[at + 1]) << 8));
  };
  const unsigned count = u16(4);
  ASSERT_EQ(group.size(), 6 + 14 * count);
  std::set<int> sizes;
  for (unsigned i = 0; i < count; ++i) {
    const size_t e = 6 + 14 * i;
    const int width = uint8_t(group[e]) == 0 ? 256 : uint8_t(group[e]);
    sizes.insert(width);
    EXPECT_EQ(u16(e + 6), 32u) << width;
    EXPECT_FALSE(Resource(MAKEINTRESOURCEW(3), u16(e + 12)).empty()) << width;  // RT_ICON
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 64, 128, 256}));
}

}  // namespace
