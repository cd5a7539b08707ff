#include "menuskin/win32/menu_attachment.h"

#include <algorithm>
#include <cwctype>
#include <string>

namespace notavo::menuskin {
namespace {

MENUITEMINFOW ItemInfo(HMENU menu, int position, UINT mask) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = mask;
  if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) info.fMask = 0;
  return info;
}

std::wstring ItemText(HMENU menu, int position) {
  MENUITEMINFOW info = ItemInfo(menu, position, MIIM_STRING);
  if (info.fMask == 0 || info.cch == 0) return {};
  std::wstring text(info.cch + 1, L'\0');
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
  if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) return {};
  text.resize(info.cch);
  return text;
}

// The access key of a caption: the character after a single "&".
std::optional<wchar_t> AccessKey(const std::wstring& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] != L'&') return text[i + 1];
    ++i;
  }
  return std::nullopt;
}

}  // namespace

void TMenuAttachment::AttachMenuBar(HMENU menu, bool drawMenuBar, bool overrideOwnerDraw) {
  if (menu == nullptr) return;
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info = ItemInfo(menu, i, MIIM_DATA | MIIM_SUBMENU);
    if (info.fMask == 0 || info.dwItemData == static_cast<ULONG_PTR>(kNoSkinTag)) continue;
    if (info.hSubMenu != nullptr) AttachItems(info.hSubMenu, true, overrideOwnerDraw);
  }
  if (drawMenuBar) AttachItems(menu, false, overrideOwnerDraw);
}

void TMenuAttachment::AttachPopup(HMENU menu, bool overrideOwnerDraw) {
  if (menu != nullptr) AttachItems(menu, true, overrideOwnerDraw);
}

void TMenuAttachment::AttachItems(HMENU menu, bool inDropDown, bool overrideOwnerDraw) {
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info = ItemInfo(menu, i, MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU);
    if (info.fMask == 0 || info.dwItemData == static_cast<ULONG_PTR>(kNoSkinTag)) continue;
    if (Find(info.dwItemData) != nullptr) continue;  // ours already
    if (inDropDown && info.hSubMenu != nullptr) AttachItems(info.hSubMenu, true, overrideOwnerDraw);
    if ((info.fType & MFT_BITMAP) != 0) continue;
    if ((info.fType & MFT_OWNERDRAW) != 0 && !overrideOwnerDraw) continue;
    auto record = std::make_unique<TRecord>(TRecord{menu, info.fType, info.dwItemData, inDropDown});
    MENUITEMINFOW change{};
    change.cbSize = sizeof change;
    change.fMask = MIIM_FTYPE | MIIM_DATA;
    change.fType = info.fType | MFT_OWNERDRAW;
    change.dwItemData = reinterpret_cast<ULONG_PTR>(record.get());
    if (::SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &change)) {
      FRecords.push_back(std::move(record));
    }
  }
}

void TMenuAttachment::DetachAll() {
  for (const std::unique_ptr<TRecord>& record : FRecords) {
    const std::optional<int> position = PositionOf(*record);
    if (!position) continue;
    MENUITEMINFOW change{};
    change.cbSize = sizeof change;
    change.fMask = MIIM_FTYPE | MIIM_DATA;
    change.fType = record->OriginalType;
    change.dwItemData = record->OriginalData;
    ::SetMenuItemInfoW(record->Menu, static_cast<UINT>(*position), TRUE, &change);
  }
  FRecords.clear();
}

const TMenuAttachment::TRecord* TMenuAttachment::Find(ULONG_PTR itemData) const {
  for (const std::unique_ptr<TRecord>& record : FRecords) {
    if (reinterpret_cast<ULONG_PTR>(record.get()) == itemData) return record.get();
  }
  return nullptr;
}

std::optional<int> TMenuAttachment::PositionOf(const TRecord& record) const {
  if (!::IsMenu(record.Menu)) return std::nullopt;
  const int count = ::GetMenuItemCount(record.Menu);
  for (int i = 0; i < count; ++i) {
    if (ItemInfo(record.Menu, i, MIIM_DATA).dwItemData == reinterpret_cast<ULONG_PTR>(&record)) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<TMenuItemFacts> TMenuAttachment::Facts(const TRecord& record) const {
  const std::optional<int> position = PositionOf(record);
  if (!position) return std::nullopt;
  const MENUITEMINFOW info =
      ItemInfo(record.Menu, *position, MIIM_FTYPE | MIIM_SUBMENU | MIIM_BITMAP);
  TMenuItemFacts facts;
  facts.Text = ItemText(record.Menu, *position);
  facts.Separator = (info.fType & MFT_SEPARATOR) != 0 || facts.Text == L"-";
  facts.HasSubMenu = info.hSubMenu != nullptr;
  facts.RadioCheck = (info.fType & MFT_RADIOCHECK) != 0;
  facts.InDropDown = record.InDropDown;
  // Only real bitmaps; the system's predefined ones (HBMMENU_...) are small numbers.
  if (reinterpret_cast<ULONG_PTR>(info.hbmpItem) > 0x100) facts.Image = info.hbmpItem;
  return facts;
}

std::optional<LRESULT> TMenuAttachment::MenuChar(HMENU menu, wchar_t key) const {
  const bool ours = std::any_of(FRecords.begin(), FRecords.end(),
                                [&](const auto& record) { return record->Menu == menu; });
  if (!ours) return std::nullopt;
  const int count = ::GetMenuItemCount(menu);
  std::vector<int> matches;
  for (int i = 0; i < count; ++i) {
    const std::optional<wchar_t> access = AccessKey(ItemText(menu, i));
    if (access && std::towupper(*access) == std::towupper(key)) matches.push_back(i);
  }
  if (matches.empty()) return MAKELRESULT(0, MNC_IGNORE);
  // One item runs; several are selected in turn, as the system does.
  return MAKELRESULT(matches.front(), matches.size() == 1 ? MNC_EXECUTE : MNC_SELECT);
}

}  // namespace notavo::menuskin
