// The skin's handlers on the items of menus: each item it draws becomes
// owner-drawn and carries a record of what it was, so that detaching puts
// back exactly that. An item's application data is its tag: items tagged
// 999 (and what hangs below them) are left alone, as are items that already
// draw themselves, unless taking those over is asked for. While attached an
// item's application data points to its record.
#pragma once

#include "platform/win32/gdi_objects.h"
// clang-format off
#include <memory>
#include <optional>
#include <vector>

#include "menuskin/win32/menu_item_painter.h"
// clang-format on

namespace notavo::menuskin {

class TMenuAttachment {
 public:
  TMenuAttachment() = default;
  TMenuAttachment(const TMenuAttachment&) = delete;
  TMenuAttachment& operator=(const TMenuAttachment&) = delete;
  ~TMenuAttachment() { DetachAll(); }

  // A menu bar: its own items only with `drawMenuBar`; the drop-downs below
  // always. A popup menu: all its items.
  void AttachMenuBar(HMENU menu, bool drawMenuBar, bool overrideOwnerDraw);
  void AttachPopup(HMENU menu, bool overrideOwnerDraw);
  // Every item back as it was before (menus destroyed meanwhile are skipped).
  void DetachAll();
  std::size_t Count() const { return FRecords.size(); }

  struct TRecord {
    HMENU Menu;
    UINT OriginalType;
    ULONG_PTR OriginalData;
    bool InDropDown;
  };
  // The record an owner-draw request's item data names, if it is ours.
  const TRecord* Find(ULONG_PTR itemData) const;
  // The item's facts as its menu holds them now; nullopt if it is gone.
  std::optional<TMenuItemFacts> Facts(const TRecord& record) const;
  // The WM_MENUCHAR answer for `key` in `menu` when the menu holds our
  // items: the item whose access key it is.
  std::optional<LRESULT> MenuChar(HMENU menu, wchar_t key) const;

 private:
  void AttachItems(HMENU menu, bool inDropDown, bool overrideOwnerDraw);
  std::optional<int> PositionOf(const TRecord& record) const;

  std::vector<std::unique_ptr<TRecord>> FRecords;
};

}  // namespace notavo::menuskin
