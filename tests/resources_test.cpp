// The uninstaller's resources as Windows reads them from a built file: the
// two dialog templates field by field, the About menu string, the icon, the
// version block, and that the file holds these and nothing else, all in
// Simplified Chinese (0x0804).
//
// The file under test is this program itself (it links the resources) unless
// NX_RESOURCE_FILE names another one, e.g. the 32-bit build's program, which
// cannot run here but can be loaded as data. A Unix path is taken as a path
// on Wine's Z: drive. With NX_RESOURCE_FILE_OPTIONAL=1 a missing file skips
// the tests instead of failing them (the other build may not have been made).
//
// The expected values are written out here, in the tables below; this file is
// UTF-8, so the Chinese texts are wide literals.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr WORD kLang = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);  // 0x0804

// Resource types as numbers (the RT_ names are already pointers).
constexpr WORD kRtIcon = 3, kRtDialog = 5, kRtString = 6, kRtGroupIcon = 14, kRtVersion = 16;

// ---------------------------------------------------------------------------
// Expected values.

const wchar_t kCopyright[] = L"版权所有 (C) 2026";

constexpr WORD kButton = 0x0080;
constexpr WORD kStatic = 0x0082;
constexpr WORD kNoOrdinal = 0;

struct ItemSpec {
  const char* label;
  WORD classAtom;        // 0x0080 button or 0x0082 static; the class name counts as well
  DWORD id;              // 0xFFFF for -1 in a classic template, 0xFFFFFFFF in an extended one
  const wchar_t* title;  // text, or null when the title is a resource ordinal
  WORD titleOrdinal;
  short x, y, cx, cy;
  DWORD style;
};

struct DialogSpec {
  const char* label;
  WORD resourceId;
  bool extended;
  DWORD style, exStyle;
  short x, y, cx, cy;
  const wchar_t* caption;
  WORD pointSize, weight;
  BYTE italic, charset;
  const wchar_t* face;
  std::vector<ItemSpec> items;
};

void PrintTo(const DialogSpec& d, std::ostream* os) { *os << d.label << " (template " << d.resourceId << ")"; }

const std::vector<DialogSpec>& Dialogs() {
  static const std::vector<DialogSpec> dialogs = {
      {"AboutBox", 100, false, 0x80C800C0, 0, 0, 0, 235, 55, L"关于 Uninstall", 9, 0, 0, 0, L"宋体",
       {
           {"icon", kStatic, 0xFFFF, nullptr, 128, 11, 17, 20, 20, 0x50000003},
           {"version text", kStatic, 0xFFFF, L"Uninstall 1.0 版", kNoOrdinal, 40, 10, 119, 8, 0x50020080},
           {"copyright text", kStatic, 0xFFFF, kCopyright, kNoOrdinal, 40, 25, 119, 8, 0x50020000},
           {"OK button", kButton, IDOK, L"确定", kNoOrdinal, 178, 7, 50, 14, 0x50030001},
       }},
      {"ConfirmDialog", 102, true, 0x90C800C0, 0x00040000, 0, 0, 215, 105, L"卸载 Nolvex文本编辑器", 9, 0, 0, 1,
       L"宋体",
       {
           {"yes button", kButton, IDOK, L"是", kNoOrdinal, 36, 67, 55, 18, 0x50010001},
           {"no button", kButton, IDCANCEL, L"否", kNoOrdinal, 111, 68, 55, 18, 0x50010000},
           {"question", kStatic, 0xFFFFFFFF, L"你真的要卸载 Nolvex文本编辑器 吗\xFF1F", kNoOrdinal, 7, 7, 200, 8,
            0x50020000},
           {"confirm label", kStatic, 1000, L"请确认:", kNoOrdinal, 7, 35, 201, 15, 0x50020000},
       }},
  };
  return dialogs;
}

const wchar_t kAboutMenuText[] = L"关于 Uninstall(&A)...";

struct VersionString {
  const char* key;
  const wchar_t* value;
};
// In the order the string table must list them.
const VersionString kVersionStrings[] = {
    {"Comments", L""},
    {"CompanyName", L""},
    {"FileDescription", L"Uninstall"},
    {"FileVersion", L"1, 0, 0, 1"},
    {"InternalName", L"Uninstall"},
    {"LegalCopyright", kCopyright},
    {"LegalTrademarks", L""},
    {"OriginalFilename", L"Uninstall.EXE"},
    {"PrivateBuild", L""},
    {"ProductName", L"Uninstall"},
    {"ProductVersion", L"1, 0, 0, 1"},
    {"SpecialBuild", L""},
};

// ---------------------------------------------------------------------------
// The file under test.

std::string Hex(unsigned long v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08lX", v);
  return buf;
}

std::string FilePath() {
  const char* env = std::getenv("NX_RESOURCE_FILE");
  if (env && *env) {
    std::string p = env;
    if (p[0] == '/') {  // a Unix path: Wine shows the root as drive Z:
      for (char& c : p) c = c == '/' ? '\\' : c;
      p = "Z:" + p;
    }
    return p;
  }
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  return std::string(self, n);
}

class ResourceFile : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    path_ = FilePath();
    if (GetFileAttributesA(path_.c_str()) == INVALID_FILE_ATTRIBUTES) {
      const char* optional = std::getenv("NX_RESOURCE_FILE_OPTIONAL");
      missing_ = optional && std::strcmp(optional, "1") == 0;
      return;
    }
    // As data: the file may be a 32-bit program, which a 64-bit process cannot
    // load as code.
    module_ = LoadLibraryExA(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    loadError_ = module_ ? 0 : GetLastError();
  }
  static void TearDownTestSuite() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
  }
  void SetUp() override {
    if (missing_) GTEST_SKIP() << path_ << " does not exist (not built)";
    ASSERT_NE(nullptr, module_) << "cannot load " << path_ << ", error " << loadError_;
    std::printf("file under test: %s\n", path_.c_str());
  }

  // The bytes of one resource in the Chinese language, or an empty vector.
  static std::vector<BYTE> Resource(LPCWSTR type, LPCWSTR name) {
    HRSRC info = FindResourceExW(module_, type, name, kLang);
    if (!info) return {};
    HGLOBAL handle = LoadResource(module_, info);
    const BYTE* data = handle ? static_cast<const BYTE*>(LockResource(handle)) : nullptr;
    if (!data) return {};
    return std::vector<BYTE>(data, data + SizeofResource(module_, info));
  }

  static std::string path_;
  static HMODULE module_;
  static DWORD loadError_;
  static bool missing_;
};
std::string ResourceFile::path_;
HMODULE ResourceFile::module_ = nullptr;
DWORD ResourceFile::loadError_ = 0;
bool ResourceFile::missing_ = false;

// Reads a resource's bytes in order; every read is bounds-checked so that a
// malformed template fails the test instead of crashing it.
class Reader {
 public:
  explicit Reader(const std::vector<BYTE>& bytes) : b_(bytes) {}
  bool ok() const { return ok_; }
  size_t pos() const { return pos_; }
  void AlignTo(size_t n) { pos_ = (pos_ + n - 1) / n * n; }
  void Seek(size_t p) { pos_ = p; }

  template <typename T>
  T Get() {
    T v{};
    if (pos_ + sizeof(T) > b_.size()) {
      ok_ = false;
      return v;
    }
    std::memcpy(&v, &b_[pos_], sizeof(T));
    pos_ += sizeof(T);
    return v;
  }
  std::wstring Str() {
    std::wstring s;
    for (;;) {
      WCHAR c = Get<WCHAR>();
      if (!ok_ || c == 0) return s;
      s += c;
    }
  }
  // A name-or-ordinal field: 0xFFFF and an ordinal, or a string.
  struct NameOrOrdinal {
    WORD ordinal = 0;
    std::wstring name;
  };
  NameOrOrdinal SzOrOrd() {
    NameOrOrdinal r;
    WORD first = Get<WORD>();
    if (first == 0xFFFF) {
      r.ordinal = Get<WORD>();
    } else if (first != 0) {
      pos_ -= sizeof(WORD);
      r.name = Str();
    }
    return r;
  }

 private:
  const std::vector<BYTE>& b_;
  size_t pos_ = 0;
  bool ok_ = true;
};

// ---------------------------------------------------------------------------
// Dialog templates.

class DialogTemplate : public ResourceFile, public ::testing::WithParamInterface<DialogSpec> {};

bool SameClass(const Reader::NameOrOrdinal& actual, WORD atom) {
  if (actual.ordinal) return actual.ordinal == atom;
  const wchar_t* name = atom == kButton ? L"Button" : L"Static";
  return _wcsicmp(actual.name.c_str(), name) == 0;
}

std::string Describe(const Reader::NameOrOrdinal& v) {
  if (v.ordinal) return "#" + std::to_string(v.ordinal);
  if (v.name.empty()) return "none";
  char buf[256];
  WideCharToMultiByte(CP_UTF8, 0, v.name.c_str(), -1, buf, sizeof buf, nullptr, nullptr);
  return std::string("\"") + buf + "\"";
}

TEST_P(DialogTemplate, MatchesTheTableFieldByField) {
  const DialogSpec& want = GetParam();
  std::vector<BYTE> bytes = Resource(MAKEINTRESOURCEW(kRtDialog), MAKEINTRESOURCEW(want.resourceId));
  ASSERT_FALSE(bytes.empty()) << "no dialog " << want.resourceId << " in language 0x0804";
  Reader r(bytes);

  DWORD style, exStyle, helpId = 0;
  WORD count;
  if (want.extended) {
    WORD version = r.Get<WORD>(), signature = r.Get<WORD>();
    ASSERT_EQ(1, version) << "not an extended template";
    ASSERT_EQ(0xFFFF, signature) << "not an extended template";
    helpId = r.Get<DWORD>();
    exStyle = r.Get<DWORD>();
    style = r.Get<DWORD>();
  } else {
    ASSERT_NE(0xFFFF0001u, *reinterpret_cast<const DWORD*>(bytes.data())) << "an extended template, wanted classic";
    style = r.Get<DWORD>();
    exStyle = r.Get<DWORD>();
  }
  count = r.Get<WORD>();
  short x = r.Get<short>(), y = r.Get<short>(), cx = r.Get<short>(), cy = r.Get<short>();
  Reader::NameOrOrdinal menu = r.SzOrOrd(), cls = r.SzOrOrd();
  std::wstring caption = r.Str();

  EXPECT_EQ(Hex(want.style), Hex(style));
  EXPECT_EQ(Hex(want.exStyle), Hex(exStyle));
  EXPECT_EQ(0u, helpId);
  EXPECT_EQ(want.items.size(), count);
  EXPECT_EQ(std::make_tuple(want.x, want.y, want.cx, want.cy), std::make_tuple(x, y, cx, cy)) << "x, y, cx, cy";
  EXPECT_EQ("none", Describe(menu)) << "menu";
  EXPECT_EQ("none", Describe(cls)) << "window class";
  EXPECT_EQ(std::wstring(want.caption), caption);

  ASSERT_TRUE(style & DS_SETFONT) << "no font in the template";
  WORD pointSize = r.Get<WORD>(), weight = 0;
  BYTE italic = 0, charset = 0;
  if (want.extended) {
    weight = r.Get<WORD>();
    italic = r.Get<BYTE>();
    charset = r.Get<BYTE>();
  }
  std::wstring face = r.Str();
  EXPECT_EQ(want.pointSize, pointSize);
  EXPECT_EQ(want.weight, weight);
  EXPECT_EQ(want.italic, italic);
  EXPECT_EQ(want.charset, charset);
  EXPECT_EQ(std::wstring(want.face), face);
  ASSERT_TRUE(r.ok()) << "template header truncated";

  for (size_t i = 0; i < want.items.size() && i < count; ++i) {
    const ItemSpec& item = want.items[i];
    SCOPED_TRACE(std::string("control ") + std::to_string(i) + " (" + item.label + ")");
    r.AlignTo(sizeof(DWORD));
    DWORD itemHelp = 0, itemEx, itemStyle, id;
    if (want.extended) {
      itemHelp = r.Get<DWORD>();
      itemEx = r.Get<DWORD>();
      itemStyle = r.Get<DWORD>();
    } else {
      itemStyle = r.Get<DWORD>();
      itemEx = r.Get<DWORD>();
    }
    short ix = r.Get<short>(), iy = r.Get<short>(), icx = r.Get<short>(), icy = r.Get<short>();
    id = want.extended ? r.Get<DWORD>() : r.Get<WORD>();
    Reader::NameOrOrdinal itemClass = r.SzOrOrd(), title = r.SzOrOrd();
    WORD extra = r.Get<WORD>();
    ASSERT_TRUE(r.ok()) << "template truncated";

    EXPECT_EQ(0u, itemHelp) << "help id";
    EXPECT_EQ(Hex(0), Hex(itemEx)) << "extended style";
    EXPECT_EQ(Hex(item.style), Hex(itemStyle)) << "style";
    EXPECT_EQ(std::make_tuple(item.x, item.y, item.cx, item.cy), std::make_tuple(ix, iy, icx, icy)) << "x, y, cx, cy";
    EXPECT_EQ(item.id, id) << "id";
    EXPECT_TRUE(SameClass(itemClass, item.classAtom)) << "class is " << Describe(itemClass);
    if (item.title) {
      EXPECT_EQ(0, title.ordinal) << "title is an ordinal";
      EXPECT_EQ(std::wstring(item.title), title.name) << "title";
    } else {
      EXPECT_EQ(item.titleOrdinal, title.ordinal) << "title is " << Describe(title);
    }
    EXPECT_EQ(0, extra) << "creation data";
    r.Seek(r.pos() + extra);
  }
}

INSTANTIATE_TEST_SUITE_P(Templates, DialogTemplate, ::testing::ValuesIn(Dialogs()),
                         [](const ::testing::TestParamInfo<DialogSpec>& p) { return std::string(p.param.label); });

// ---------------------------------------------------------------------------
// The About menu string.

TEST_F(ResourceFile, StringBlockHoldsOnlyTheAboutMenuText) {
  // Strings come in blocks of 16; string 101 is entry 5 of block 7.
  std::vector<BYTE> bytes = Resource(MAKEINTRESOURCEW(kRtString), MAKEINTRESOURCEW(101 / 16 + 1));
  ASSERT_FALSE(bytes.empty()) << "no string block 7 in language 0x0804";
  Reader r(bytes);
  for (int i = 0; i < 16; ++i) {
    WORD len = r.Get<WORD>();
    std::wstring s;
    for (WORD k = 0; k < len; ++k) s += r.Get<WCHAR>();
    ASSERT_TRUE(r.ok()) << "block truncated at string " << 96 + i;
    EXPECT_EQ(i == 101 % 16 ? std::wstring(kAboutMenuText) : std::wstring(), s) << "string " << 96 + i;
  }
}

TEST_F(ResourceFile, LoadStringReadsTheAboutMenuText) {
  WCHAR wide[64] = {};
  int n = LoadStringW(module_, 101, wide, 64);
  EXPECT_EQ(std::wstring(kAboutMenuText), std::wstring(wide, n > 0 ? n : 0));

  // The program reads it through the ANSI interface, in code page 936.
  char expected[64] = {};
  WideCharToMultiByte(936, 0, kAboutMenuText, -1, expected, sizeof expected, nullptr, nullptr);
  char ansi[64] = {};
  LoadStringA(module_, 101, ansi, sizeof ansi);
  if (GetACP() == 936) {
    EXPECT_STREQ(expected, ansi);
  }
}

// ---------------------------------------------------------------------------
// The icon.

#pragma pack(push, 2)
struct GroupIconDir {
  WORD reserved, type, count;
};
struct GroupIconEntry {
  BYTE width, height, colorCount, reserved;
  WORD planes, bitCount;
  DWORD bytesInRes;
  WORD id;
};
#pragma pack(pop)

TEST_F(ResourceFile, IconGroupHoldsOne32x32SixteenColourImage) {
  std::vector<BYTE> group = Resource(MAKEINTRESOURCEW(kRtGroupIcon), MAKEINTRESOURCEW(128));
  ASSERT_GE(group.size(), sizeof(GroupIconDir) + sizeof(GroupIconEntry)) << "no icon group 128 in language 0x0804";
  GroupIconDir dir;
  std::memcpy(&dir, group.data(), sizeof dir);
  EXPECT_EQ(0, dir.reserved);
  EXPECT_EQ(1, dir.type) << "1 = icon";
  ASSERT_EQ(1, dir.count) << "images in the group";
  ASSERT_EQ(sizeof(GroupIconDir) + sizeof(GroupIconEntry), group.size());
  GroupIconEntry e;
  std::memcpy(&e, group.data() + sizeof dir, sizeof e);
  EXPECT_EQ(32, e.width);
  EXPECT_EQ(32, e.height);
  EXPECT_EQ(16, e.colorCount);
  EXPECT_EQ(1, e.planes);
  EXPECT_EQ(4, e.bitCount);

  std::vector<BYTE> image = Resource(MAKEINTRESOURCEW(kRtIcon), MAKEINTRESOURCEW(e.id));
  ASSERT_FALSE(image.empty()) << "the group's image " << e.id << " is missing";
  EXPECT_EQ(e.bytesInRes, image.size());
  ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
  BITMAPINFOHEADER h;
  std::memcpy(&h, image.data(), sizeof h);
  EXPECT_EQ(sizeof(BITMAPINFOHEADER), h.biSize);
  EXPECT_EQ(32, h.biWidth);
  EXPECT_EQ(64, h.biHeight) << "colour bitmap and mask together";
  EXPECT_EQ(1, h.biPlanes);
  EXPECT_EQ(4, h.biBitCount);
  EXPECT_EQ(static_cast<DWORD>(BI_RGB), h.biCompression);
  // Header, 16 palette entries, 4-bit colour rows and 1-bit mask rows.
  EXPECT_EQ(40u + 16 * 4 + 32 * 16 + 32 * 4, image.size());

  // And Windows makes an icon of it.
  HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, 0x00030000, 32, 32, 0);
  ASSERT_NE(nullptr, icon) << "error " << GetLastError();
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP bm = {};
  GetObjectW(info.hbmMask, sizeof bm, &bm);
  EXPECT_EQ(32, bm.bmWidth);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(icon);
}

// ---------------------------------------------------------------------------
// The version block.

class VersionBlock : public ResourceFile {
 protected:
  void SetUp() override {
    ResourceFile::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path_.c_str(), &ignored);
    ASSERT_NE(0u, size) << "no version block, error " << GetLastError();
    info_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoA(path_.c_str(), 0, size, info_.data())) << "error " << GetLastError();
  }
  std::vector<BYTE> info_;
};

TEST_F(VersionBlock, FixedPart) {
  VS_FIXEDFILEINFO* f = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueA(info_.data(), "\\", reinterpret_cast<void**>(&f), &len));
  ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), len);
  struct {
    const char* field;
    DWORD expected, actual;
  } cases[] = {
      {"signature", 0xFEEF04BD, f->dwSignature},
      {"file version high", 0x00010000, f->dwFileVersionMS},
      {"file version low", 0x00000001, f->dwFileVersionLS},
      {"product version high", 0x00010000, f->dwProductVersionMS},
      {"product version low", 0x00000001, f->dwProductVersionLS},
      {"flags mask", 0x3F, f->dwFileFlagsMask},
      {"flags", 0, f->dwFileFlags},
      {"operating system", VOS__WINDOWS32, f->dwFileOS},
      {"file type", VFT_APP, f->dwFileType},
      {"file subtype", 0, f->dwFileSubtype},
      {"date high", 0, f->dwFileDateMS},
      {"date low", 0, f->dwFileDateLS},
  };
  for (const auto& c : cases) EXPECT_EQ(Hex(c.expected), Hex(c.actual)) << c.field;
}

TEST_F(VersionBlock, StringsThroughVerQueryValue) {
  for (const VersionString& s : kVersionStrings) {
    SCOPED_TRACE(s.key);
    std::string ansiKey = std::string("\\StringFileInfo\\080404b0\\") + s.key;
    char* ansi = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(info_.data(), ansiKey.c_str(), reinterpret_cast<void**>(&ansi), &len));
    char expected[128] = {};
    WideCharToMultiByte(CP_ACP, 0, s.value, -1, expected, sizeof expected, nullptr, nullptr);
    EXPECT_STREQ(expected, ansi ? ansi : "(null)");

    std::wstring wideKey(ansiKey.begin(), ansiKey.end());
    WCHAR* wide = nullptr;
    ASSERT_TRUE(VerQueryValueW(info_.data(), wideKey.c_str(), reinterpret_cast<void**>(&wide), &len));
    EXPECT_EQ(std::wstring(s.value), std::wstring(wide ? wide : L"(null)"));
  }
  DWORD* translation = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueA(info_.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &len));
  ASSERT_EQ(4u, len) << "one language and code page pair";
  EXPECT_EQ(Hex(0x04B00804), Hex(*translation)) << "0x0804, 0x04B0";
}

// The raw block, walked by hand: the one string table and its entries in
// their order, each a text value.
struct Node {
  std::wstring key;
  WORD type = 0, valueLength = 0;
  std::wstring text;  // the value as text, when it is one
  std::vector<WORD> words;
  std::vector<Node> children;
};

bool ParseNode(const std::vector<BYTE>& b, size_t at, Node* out, size_t* end) {
  if (at + 6 > b.size()) return false;
  WORD length, valueLength, type;
  std::memcpy(&length, &b[at], 2);
  std::memcpy(&valueLength, &b[at + 2], 2);
  std::memcpy(&type, &b[at + 4], 2);
  if (length < 6 || at + length > b.size()) return false;
  std::vector<BYTE> node(b.begin() + at, b.begin() + at + length);
  Reader r(node);
  r.Seek(6);
  out->key = r.Str();
  out->type = type;
  out->valueLength = valueLength;
  r.AlignTo(4);
  if (type == 1) {  // text: the length counts characters, the terminator included
    for (WORD i = 0; i < valueLength; ++i) {
      WCHAR c = r.Get<WCHAR>();
      if (c) out->text += c;
    }
  } else {
    for (WORD i = 0; i < valueLength / 2; ++i) out->words.push_back(r.Get<WORD>());
  }
  if (!r.ok()) return false;
  size_t child = at + (r.pos() + 3) / 4 * 4;
  while (child < at + length) {
    Node c;
    size_t next;
    if (!ParseNode(b, child, &c, &next)) return false;
    out->children.push_back(c);
    child = (next + 3) / 4 * 4;
  }
  *end = at + length;
  return true;
}

TEST_F(ResourceFile, VersionBlockLayout) {
  std::vector<BYTE> bytes = Resource(MAKEINTRESOURCEW(kRtVersion), MAKEINTRESOURCEW(VS_VERSION_INFO));
  ASSERT_FALSE(bytes.empty()) << "no version block 1 in language 0x0804";
  Node root;
  size_t end;
  ASSERT_TRUE(ParseNode(bytes, 0, &root, &end)) << "malformed version block";
  EXPECT_EQ(L"VS_VERSION_INFO", root.key);
  EXPECT_EQ(sizeof(VS_FIXEDFILEINFO), root.valueLength);
  ASSERT_EQ(2u, root.children.size());
  const Node& strings = root.children[0];
  const Node& vars = root.children[1];
  EXPECT_EQ(L"StringFileInfo", strings.key);
  EXPECT_EQ(L"VarFileInfo", vars.key);

  ASSERT_EQ(1u, strings.children.size()) << "string tables";
  const Node& table = strings.children[0];
  EXPECT_EQ(L"080404b0", table.key);
  const size_t n = sizeof kVersionStrings / sizeof kVersionStrings[0];
  ASSERT_EQ(n, table.children.size()) << "entries in the string table";
  for (size_t i = 0; i < n; ++i) {
    const VersionString& want = kVersionStrings[i];
    const Node& got = table.children[i];
    SCOPED_TRACE(std::string("entry ") + std::to_string(i) + " (" + want.key + ")");
    EXPECT_EQ(std::wstring(want.key, want.key + std::strlen(want.key)), got.key);
    EXPECT_EQ(1, got.type) << "not a text value";
    EXPECT_EQ(std::wstring(want.value), got.text);
  }

  ASSERT_EQ(1u, vars.children.size());
  EXPECT_EQ(L"Translation", vars.children[0].key);
  EXPECT_EQ((std::vector<WORD>{0x0804, 0x04B0}), vars.children[0].words);
}

// ---------------------------------------------------------------------------
// Nothing else in the file, and everything Chinese.

struct Entry {
  WORD type, name, lang;
  bool operator<(const Entry& o) const {
    return std::tie(type, name, lang) < std::tie(o.type, o.name, o.lang);
  }
  bool operator==(const Entry& o) const { return type == o.type && name == o.name && lang == o.lang; }
};

void PrintTo(const Entry& e, std::ostream* os) {
  *os << "{type " << e.type << ", name " << e.name << ", language " << Hex(e.lang) << "}";
}

struct Inventory {
  std::set<Entry> entries;
  std::vector<std::string> namedOnes;  // resources with string types or names
};

BOOL CALLBACK OnLanguage(HMODULE, LPCWSTR type, LPCWSTR name, WORD lang, LONG_PTR param) {
  reinterpret_cast<Inventory*>(param)->entries.insert(
      {static_cast<WORD>(reinterpret_cast<ULONG_PTR>(type)), static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)), lang});
  return TRUE;
}
BOOL CALLBACK OnName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
  if (!IS_INTRESOURCE(name)) {
    reinterpret_cast<Inventory*>(param)->namedOnes.push_back("a resource with a string name");
    return TRUE;
  }
  EnumResourceLanguagesW(module, type, name, OnLanguage, param);
  return TRUE;
}
BOOL CALLBACK OnType(HMODULE module, LPWSTR type, LONG_PTR param) {
  if (!IS_INTRESOURCE(type)) {
    reinterpret_cast<Inventory*>(param)->namedOnes.push_back("a resource type with a string name");
    return TRUE;
  }
  EnumResourceNamesW(module, type, OnName, param);
  return TRUE;
}

TEST_F(ResourceFile, HoldsOnlyTheProgramsResourcesAllInChinese) {
  std::vector<BYTE> group = Resource(MAKEINTRESOURCEW(kRtGroupIcon), MAKEINTRESOURCEW(128));
  ASSERT_EQ(sizeof(GroupIconDir) + sizeof(GroupIconEntry), group.size()) << "icon group 128";
  GroupIconEntry icon;
  std::memcpy(&icon, group.data() + sizeof(GroupIconDir), sizeof icon);

  const std::set<Entry> expected = {
      {kRtIcon, icon.id, kLang},  // the group's one image
      {kRtDialog, 100, kLang},    // About box
      {kRtDialog, 102, kLang},    // confirmation dialog
      {kRtString, 7, kLang},      // the block of string 101
      {kRtGroupIcon, 128, kLang},
      {kRtVersion, 1, kLang},
  };
  Inventory found;
  EnumResourceTypesW(module_, OnType, reinterpret_cast<LONG_PTR>(&found));
  EXPECT_EQ(std::vector<std::string>(), found.namedOnes);
  EXPECT_EQ(std::vector<Entry>(expected.begin(), expected.end()),
            std::vector<Entry>(found.entries.begin(), found.entries.end()));
}

}  // namespace
