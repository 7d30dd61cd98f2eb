// The About dialog templates as compiled into keyloom.exe: classic templates 1 (Russian) and
// 2 (English) with their style, place, font and four controls, and the Russian texts' bytes.
#include <cstring>
#include <string>
#include <vector>

#include "harness.h"
#include "ui/win/menu_bar.h"

namespace {

// The identifier of a dialog's static controls.
constexpr WORD kStaticId = 0xFFFF;

struct ControlTemplate {
  DWORD style;
  short x, y, cx, cy;
  WORD id;
  WORD classAtom;
  std::string text;  // Windows-1251; "#2" for a resource ordinal
};

struct DialogTemplate {
  DWORD style = 0, exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::string caption, font;
  WORD pointSize = 0;
  std::vector<ControlTemplate> controls;
};

// Reads a NUL-terminated UTF-16 string or an ordinal and moves past it.
std::string ReadSz(const WORD*& p) {
  if (*p == 0xFFFF) {
    const std::string ordinal = "#" + std::to_string(p[1]);
    p += 2;
    return ordinal;
  }
  const wchar_t* text = reinterpret_cast<const wchar_t*>(p);
  const int length = static_cast<int>(wcslen(text));
  p += length + 1;
  std::string bytes(static_cast<size_t>(length) * 2, '\0');
  bytes.resize(static_cast<size_t>(WideCharToMultiByte(1251, 0, text, length, &bytes[0],
                                                       static_cast<int>(bytes.size()), nullptr, nullptr)));
  return bytes;
}

bool LoadTemplate(int id, DialogTemplate* dialog) {
  HMODULE module = LoadLibraryExA(BuildPath("keyloom.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return false;
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG);
  if (!resource) return false;
  const auto* header = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, resource)));
  dialog->style = header->style;
  dialog->exStyle = header->dwExtendedStyle;
  dialog->x = header->x, dialog->y = header->y, dialog->cx = header->cx, dialog->cy = header->cy;
  const WORD* p = reinterpret_cast<const WORD*>(header + 1);
  ReadSz(p);  // menu
  ReadSz(p);  // class
  dialog->caption = ReadSz(p);
  dialog->pointSize = *p++;
  dialog->font = ReadSz(p);
  for (int i = 0; i < header->cdit; ++i) {
    p = reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t{3});
    const auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
    ControlTemplate control{item->style, item->x, item->y, item->cx, item->cy, item->id, 0, ""};
    p = reinterpret_cast<const WORD*>(item + 1);
    if (*p == 0xFFFF) {
      control.classAtom = p[1];
      p += 2;
    } else {
      ReadSz(p);
    }
    control.text = ReadSz(p);
    p += 1 + *p / 2;  // creation data
    dialog->controls.push_back(control);
  }
  FreeLibrary(module);
  return true;
}

TEST(AboutTemplates, AreClassicTemplatesWithTheirLayout) {
  const struct {
    int id;
    std::string caption;
    std::string textStart;
  } cases[] = {
      {kAboutDialogRussian, "\xCE \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE5...",
       "\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE0:\n\rKeyloom\n\n\r\xC2\xE5\xF0\xF1\xE8\xFF:   1.01 (x64)\n\n\r"},
      {kAboutDialogEnglish, "About...", "Program:\n\rKeyloom\n\n\rVersion:   1.01 (x64)\n\n\r"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("template " + std::to_string(c.id));
    DialogTemplate dialog;
    ASSERT_TRUE(LoadTemplate(c.id, &dialog));
    EXPECT_EQ(dialog.style, 0x80C800C0u);
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(std::vector<short>({dialog.x, dialog.y, dialog.cx, dialog.cy}), std::vector<short>({125, 75, 170, 155}));
    EXPECT_EQ(dialog.caption, c.caption);
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.font, "Arial");
    ASSERT_EQ(dialog.controls.size(), 4u);
    const ControlTemplate expected[] = {
        {0x50000007, 10, 5, 150, 125, kStaticId, 0x80, ""},
        {0x50000003, 20, 15, 0, 0, kStaticId, 0x82, "#2"},
        {0x50020000, 50, 15, 100, 110, kStaticId, 0x82, ""},
        {0x50010001, 60, 135, 50, 15, IDOK, 0x80, "OK"},
    };
    for (int i = 0; i < 4; ++i) {
      const ControlTemplate& got = dialog.controls[static_cast<size_t>(i)];
      SCOPED_TRACE("control " + std::to_string(i + 1));
      EXPECT_EQ(got.style, expected[i].style);
      EXPECT_EQ(std::vector<short>({got.x, got.y, got.cx, got.cy}),
                std::vector<short>({expected[i].x, expected[i].y, expected[i].cx, expected[i].cy}));
      EXPECT_EQ(got.id, expected[i].id);
      EXPECT_EQ(got.classAtom, expected[i].classAtom);
      if (i != 2) {
        EXPECT_EQ(got.text, expected[i].text);
      }
    }
    const std::string& text = dialog.controls[2].text;
    EXPECT_EQ(text.substr(0, c.textStart.size()), c.textStart);
    // The maker's lines follow: name and city, telephone and fax, web, e-mail.
    EXPECT_NE(text.find("Fernbrook Devices"), std::string::npos);
    EXPECT_NE(text.find("www.example.com"), std::string::npos);
    EXPECT_NE(text.find("support@example.com"), std::string::npos);
  }
}

}  // namespace
