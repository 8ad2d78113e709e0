// The resources the plug-in ships, read back from the test executable that links the same script.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <cstring>
#include <string>
#include <vector>
#include "res/resource.h"

namespace {

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
const WORD kToolbarType = 241;  // RT_TOOLBAR

struct Blob {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

Blob FindJapanese(LPCSTR type, UINT id)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), kJapanese);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, found);
    return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(module, found)};
}

template <typename T> T Read(const BYTE* at)
{
    T value;
    memcpy(&value, at, sizeof value);
    return value;
}

struct Text {
    UINT id;
    const char16_t* wide;
    const char* ansi;  // compiled to code page 932
};

const Text kTexts[] = {
    {IDS_MENU_TEXT, u"クリップツール(&C)",
     "クリップツール(&C)"},
    {IDS_STATUS_TEXT, u"文章中の単語や行文字列の一時保存・貼り付け。\r\n単語/行文字列の一時保存・貼り付け。",
     "文章中の単語や行文字列の一時保存・貼り付け。\r\n単語/行文字列の一時保存・貼り付け。"},
    {IDS_DELETE_QUERY, u"Vexaro.dll を削除してもよろしいですか？\r\n（指定プラグインは、削除されます。）",
     "Vexaro.dll を削除してもよろしいですか？\r\n（指定プラグインは、削除されます。）"},
    {IDS_VERSION_TEXT, u"Vexaro Ver1.0β",
     "Vexaro Ver1.0β"},
    {IDS_VERSION_TEXT2, u"Vexaro Ver1.0β",
     "Vexaro Ver1.0β"},
    {ID_SAVE_WORD, u"キャレット位置の単語を保存します。",
     "キャレット位置の単語を保存します。"},
    {ID_SAVE_TO_CARET, u"行頭からキャレット位置までの文字列を保存します。",
     "行頭からキャレット位置までの文字列を保存します。"},
    {ID_SAVE_FROM_CARET, u"キャレット位置から行末までの文字列を保存します。",
     "キャレット位置から行末までの文字列を保存します。"},
    {ID_SAVE_SELECTION, u"選択範囲の文字列を保存します。\r\nCtrl + クリックで複数行分解。",
     "選択範囲の文字列を保存します。\r\nCtrl + クリックで複数行分解。"},
    {ID_DELETE_CHOSEN, u"リストの選択項目を削除します。",
     "リストの選択項目を削除します。"},
    {ID_DELETE_ALL, u"リストの全項目を削除します。",
     "リストの全項目を削除します。"},
    {ID_SHOW_HISTORY, u"クリップボードの履歴を表示します。",
     "クリップボードの履歴を表示します。"},
    {ID_SAVE_LINE, u"キャレット位置の1行を保存します。\r\n改行は、含まれません。",
     "キャレット位置の1行を保存します。\r\n改行は、含まれません。"},
    {ID_EXIT_TOOL, u"ツールを終了します。\r\nデータは、エディタ終了時に破棄されます。",
     "ツールを終了します。\r\nデータは、エディタ終了時に破棄されます。"},
    {ID_HOLD_LIST, u"リストをドロップダウン保持します。",
     "リストをドロップダウン保持します。"},
    {ID_SHOW_PALETTE, u"文字変換ダイアログを表示します。",
     "文字変換ダイアログを表示します。"},
};

// Window class names compare without regard to case.
std::u16string Upper(std::u16string text)
{
    for (char16_t& c : text)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return text;
}

// A name-or-ordinal field of a dialog template, with the predefined class atoms spelled out.
std::u16string ReadNameOrOrdinal(const BYTE*& at)
{
    WORD first = Read<WORD>(at);
    if (first == 0) { at += 2; return u""; }
    if (first == 0xFFFF) {
        WORD ordinal = Read<WORD>(at + 2);
        at += 4;
        switch (ordinal) {
        case 0x80: return u"Button";
        case 0x81: return u"Edit";
        case 0x82: return u"Static";
        default: return u"#" + std::u16string(1, static_cast<char16_t>(ordinal));
        }
    }
    std::u16string text;
    for (WORD c; (c = Read<WORD>(at)) != 0; at += 2) text += static_cast<char16_t>(c);
    at += 2;
    return text;
}

struct DialogItem {
    DWORD exStyle, style;
    short x, y, cx, cy;
    int id;
    std::u16string className, text;
};

struct Dialog {
    WORD version, signature;
    DWORD exStyle, style;
    short x, y, cx, cy;
    std::u16string menu, className, title;
    WORD pointSize, weight;
    BYTE italic, charset;
    std::u16string font;
    std::vector<DialogItem> items;
};

const BYTE* AlignDword(const BYTE* start, const BYTE* at)
{
    return start + ((at - start + 3) & ~3);
}

Dialog ParseDialogEx(const Blob& blob)
{
    Dialog d = {};
    const BYTE* at = blob.data;
    d.version = Read<WORD>(at);
    d.signature = Read<WORD>(at + 2);
    d.exStyle = Read<DWORD>(at + 8);
    d.style = Read<DWORD>(at + 12);
    WORD count = Read<WORD>(at + 16);
    d.x = Read<short>(at + 18);
    d.y = Read<short>(at + 20);
    d.cx = Read<short>(at + 22);
    d.cy = Read<short>(at + 24);
    at += 26;
    d.menu = ReadNameOrOrdinal(at);
    d.className = ReadNameOrOrdinal(at);
    d.title = ReadNameOrOrdinal(at);
    if (d.style & (DS_SETFONT | DS_SHELLFONT)) {
        d.pointSize = Read<WORD>(at);
        d.weight = Read<WORD>(at + 2);
        d.italic = at[4];
        d.charset = at[5];
        at += 6;
        d.font = ReadNameOrOrdinal(at);
    }
    for (WORD i = 0; i < count; ++i) {
        at = AlignDword(blob.data, at);
        DialogItem item = {};
        item.exStyle = Read<DWORD>(at + 4);
        item.style = Read<DWORD>(at + 8);
        item.x = Read<short>(at + 12);
        item.y = Read<short>(at + 14);
        item.cx = Read<short>(at + 16);
        item.cy = Read<short>(at + 18);
        item.id = Read<int>(at + 20);
        at += 24;
        item.className = ReadNameOrOrdinal(at);
        item.text = ReadNameOrOrdinal(at);
        at += 2 + Read<WORD>(at);
        d.items.push_back(item);
    }
    return d;
}

const COLORREF kStandardPalette[16] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

// Header, 16-colour standard palette, and the pixel rows as colour indexes (top row first).
struct Picture {
    BITMAPINFOHEADER header = {};
    bool standardPalette = false;
    std::vector<std::vector<int>> pixels;
};

Picture ReadPicture(const Blob& blob)
{
    Picture picture;
    if (blob.data == nullptr || blob.size < sizeof(BITMAPINFOHEADER)) return picture;
    picture.header = Read<BITMAPINFOHEADER>(blob.data);
    const BITMAPINFOHEADER& h = picture.header;
    if (h.biBitCount != 4 || h.biCompression != BI_RGB) return picture;
    DWORD colours = h.biClrUsed != 0 ? h.biClrUsed : 16;
    picture.standardPalette = colours == 16;
    for (int i = 0; i < 16 && picture.standardPalette; ++i) {
        RGBQUAD q = Read<RGBQUAD>(blob.data + h.biSize + 4 * i);
        picture.standardPalette = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue) == kStandardPalette[i];
    }
    const BYTE* bits = blob.data + h.biSize + 4 * colours;
    int height = h.biHeight;
    size_t stride = ((static_cast<size_t>(h.biWidth) * 4 + 31) / 32) * 4;
    if (bits + stride * height > blob.data + blob.size) return picture;
    for (int y = 0; y < height; ++y) {
        const BYTE* row = bits + stride * (height - 1 - y);
        std::vector<int> line;
        for (int x = 0; x < h.biWidth; ++x) line.push_back(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
        picture.pixels.push_back(line);
    }
    return picture;
}

}  // namespace

TEST(ResourceTest, StringTableHoldsTheExactTexts)
{
    HMODULE module = GetModuleHandleA(nullptr);
    EXPECT_EQ(932u, GetACP()) << "the ANSI texts below are checked under code page 932";
    for (const Text& t : kTexts) {
        const wchar_t* stored = nullptr;
        int length = LoadStringW(module, t.id, reinterpret_cast<LPWSTR>(&stored), 0);
        ASSERT_NE(nullptr, stored) << "string " << t.id;
        EXPECT_EQ(std::u16string(t.wide), std::u16string(reinterpret_cast<const char16_t*>(stored), length))
            << "string " << t.id;

        char ansi[512] = "";
        int bytes = LoadStringA(module, t.id, ansi, sizeof ansi);
        EXPECT_EQ(std::string(t.ansi), std::string(ansi, bytes)) << "string " << t.id;
    }
    // The table holds nothing beside these in the two id ranges the plug-in uses.
    wchar_t buffer[8];
    EXPECT_EQ(0, LoadStringW(module, 6, buffer, 8));
    EXPECT_EQ(0, LoadStringW(module, 40000, buffer, 8));
    EXPECT_EQ(0, LoadStringW(module, 40012, buffer, 8));
}

TEST(ResourceTest, PicturesHaveTheirSizesAndDepth)
{
    Picture command = ReadPicture(FindJapanese(RT_BITMAP, IDB_COMMAND));
    EXPECT_EQ(16, command.header.biWidth);
    EXPECT_EQ(16, command.header.biHeight);
    EXPECT_EQ(4, command.header.biBitCount);
    EXPECT_TRUE(command.standardPalette);

    Picture strip = ReadPicture(FindJapanese(RT_BITMAP, IDB_TOOLBAR));
    EXPECT_EQ(176, strip.header.biWidth);
    EXPECT_EQ(15, strip.header.biHeight);
    EXPECT_EQ(4, strip.header.biBitCount);
    EXPECT_TRUE(strip.standardPalette);
    ASSERT_EQ(15u, strip.pixels.size());
    // Eleven real pictures: each draws on the silver ground, and no two are alike.
    const int silver = 7;
    std::vector<std::vector<int>> tiles(11);
    for (int tile = 0; tile < 11; ++tile) {
        int drawn = 0;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 16; ++x) {
                int index = strip.pixels[y][tile * 16 + x];
                tiles[tile].push_back(index);
                if (index != silver) ++drawn;
            }
        EXPECT_GT(drawn, 20) << "picture " << tile;
        for (int other = 0; other < tile; ++other) EXPECT_NE(tiles[other], tiles[tile]) << other << " and " << tile;
    }

    Blob group = FindJapanese(RT_GROUP_ICON, IDI_BAND);
    ASSERT_NE(nullptr, group.data);
    ASSERT_EQ(6u + 14u, group.size);
    EXPECT_EQ(1, Read<WORD>(group.data + 2));  // an icon, not a cursor
    EXPECT_EQ(1, Read<WORD>(group.data + 4));
    const BYTE* entry = group.data + 6;
    EXPECT_EQ(16, entry[0]);
    EXPECT_EQ(16, entry[1]);
    EXPECT_EQ(16, entry[2]);
    EXPECT_EQ(4, Read<WORD>(entry + 6));
    DWORD imageBytes = Read<DWORD>(entry + 8);
    Blob image = FindJapanese(RT_ICON, Read<WORD>(entry + 12));
    ASSERT_NE(nullptr, image.data);
    EXPECT_EQ(imageBytes, image.size);
    Picture icon = ReadPicture(image);
    EXPECT_EQ(16, icon.header.biWidth);
    EXPECT_EQ(32, icon.header.biHeight);  // colour rows and the AND mask
    EXPECT_EQ(4, icon.header.biBitCount);
    EXPECT_EQ(40u + 64u + 16u * 8u + 16u * 4u, image.size);
    HICON loaded = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BAND), IMAGE_ICON, 16, 16, 0));
    EXPECT_NE(nullptr, loaded);
    if (loaded != nullptr) DestroyIcon(loaded);
}

TEST(ResourceTest, BandDialogTemplate)
{
    Blob blob = FindJapanese(RT_DIALOG, IDD_CLIPBAR);
    ASSERT_NE(nullptr, blob.data);
    Dialog d = ParseDialogEx(blob);
    EXPECT_EQ(1, d.version);
    EXPECT_EQ(0xFFFF, d.signature);
    EXPECT_EQ(0x40000040u, d.style);
    EXPECT_EQ(0u, d.exStyle);
    EXPECT_EQ(0, d.x);
    EXPECT_EQ(0, d.y);
    EXPECT_EQ(84, d.cx);
    EXPECT_EQ(13, d.cy);
    EXPECT_EQ(u"", d.menu);
    EXPECT_EQ(u"", d.className);
    EXPECT_EQ(u"", d.title);
    EXPECT_EQ(9, d.pointSize);
    EXPECT_EQ(0, d.weight);
    EXPECT_EQ(0, d.italic);
    EXPECT_EQ(1, d.charset);
    EXPECT_EQ(u"ＭＳ Ｐゴシック", d.font);
    EXPECT_TRUE(d.items.empty());
}

TEST(ResourceTest, PaletteDialogTemplate)
{
    Blob blob = FindJapanese(RT_DIALOG, IDD_PALETTE);
    ASSERT_NE(nullptr, blob.data);
    Dialog d = ParseDialogEx(blob);
    EXPECT_EQ(1, d.version);
    EXPECT_EQ(0xFFFF, d.signature);
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_CENTER | DS_MODALFRAME | DS_SETFONT), d.style);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_TOOLWINDOW), d.exStyle);
    EXPECT_EQ(166, d.cx);
    EXPECT_EQ(49, d.cy);
    EXPECT_EQ(u"文字変換", d.title);
    EXPECT_EQ(9, d.pointSize);
    EXPECT_EQ(1, d.charset);
    EXPECT_EQ(u"ＭＳ Ｐゴシック", d.font);

    const DWORD shown = WS_CHILD | WS_VISIBLE;
    const DWORD check = shown | BS_AUTOCHECKBOX | WS_TABSTOP;
    const DialogItem expected[] = {
        {0, shown | BS_GROUPBOX | WS_GROUP, 3, 1, 86, 43, -1, u"Button", u"処理対象"},
        {0, check | WS_GROUP, 8, 11, 27, 8, IDC_KATAKANA, u"Button", u"ｶﾀｶﾅ"},
        {0, check, 8, 21, 34, 8, IDC_KANA_SYMBOL, u"Button", u"ｶﾅ記号"},
        {0, check, 47, 11, 32, 8, IDC_ALNUM, u"Button", u"英数字"},
        {0, check, 47, 21, 38, 8, IDC_ALNUM_SYMBOL, u"Button", u"英数記号"},
        {0, check, 8, 31, 25, 8, IDC_SPACE, u"Button", u"空白"},
        {0, shown | BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP, 47, 31, 37, 10, IDC_SELECT_ALL, u"Button", u"全て"},
        {0, shown | BS_GROUPBOX | WS_TABSTOP, 93, 1, 69, 43, -1, u"Button", u"変換指定"},
        {0, check, 128, 11, 31, 8, IDC_UPPER, u"Button", u"大文字"},
        {0, check, 128, 21, 32, 8, IDC_LOWER, u"Button", u"小文字"},
        {0, check, 98, 21, 24, 8, IDC_HALF_WIDTH, u"Button", u"半角"},
        {0, check, 98, 11, 24, 8, IDC_FULL_WIDTH, u"Button", u"全角"},
        {0, WS_CHILD | SS_LEFT | WS_GROUP, 33, 20, 28, 8, IDC_LETTERS_ONLY, u"Static", u"英字のみ"},
    };
    ASSERT_EQ(13u, d.items.size());
    for (size_t i = 0; i < 13; ++i) {
        const DialogItem& want = expected[i];
        const DialogItem& got = d.items[i];
        EXPECT_EQ(want.id, got.id) << "control " << i;
        EXPECT_EQ(Upper(want.className), Upper(got.className)) << "control " << i;
        EXPECT_EQ(want.text, got.text) << "control " << i;
        EXPECT_EQ(want.style, got.style) << "control " << i;
        EXPECT_EQ(0u, got.exStyle) << "control " << i;
        EXPECT_EQ(want.x, got.x) << "control " << i;
        EXPECT_EQ(want.y, got.y) << "control " << i;
        EXPECT_EQ(want.cx, got.cx) << "control " << i;
        EXPECT_EQ(want.cy, got.cy) << "control " << i;
    }
}

TEST(ResourceTest, ToolbarResourceListsTheElevenButtons)
{
    Blob blob = FindJapanese(MAKEINTRESOURCEA(kToolbarType), IDR_TOOLBAR);
    ASSERT_NE(nullptr, blob.data);
    ASSERT_GE(blob.size, 8u);
    EXPECT_EQ(1, Read<WORD>(blob.data));
    EXPECT_EQ(16, Read<WORD>(blob.data + 2));
    EXPECT_EQ(15, Read<WORD>(blob.data + 4));
    const WORD ids[] = {ID_SAVE_WORD, ID_SAVE_TO_CARET, ID_SAVE_FROM_CARET, ID_SAVE_SELECTION, ID_SAVE_LINE,
                        ID_SHOW_HISTORY, ID_HOLD_LIST, ID_SHOW_PALETTE, ID_DELETE_CHOSEN, ID_DELETE_ALL,
                        ID_EXIT_TOOL};
    ASSERT_EQ(11, Read<WORD>(blob.data + 6));
    ASSERT_GE(blob.size, 8u + 2u * 11u);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(ids[i], Read<WORD>(blob.data + 8 + 2 * i)) << "button " << i;
}
