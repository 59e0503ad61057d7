// The "Zoom" dialog: one field holding the zoom factor, checked on OK for a whole number from the
// smallest zoom to 31. A refused value keeps the dialog open with the field selected.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "document/DocumentSession.h"

class QLineEdit;

namespace tavro {

inline constexpr int kZoomDialogMin = kMinZoom;
// Typed in, a factor may go past what the menu's steps reach (kMaxZoom).
inline constexpr int kZoomDialogMax = kMaxChosenZoom;

// The field's text as an unsigned whole number; nothing when it is not one. Blanks around the
// digits are allowed; values too large for 32 bits come back as the largest 32-bit value.
std::optional<uint32_t> ParseUnsigned(const QString& text);

class ZoomDialog : public QDialog {
  Q_OBJECT

 public:
  // Refusals are told through `refuse` (the window shows a box with the exclamation icon).
  using Refusal = std::function<void(const std::string& message)>;
  ZoomDialog(Refusal refuse, int factor, QWidget* parent = nullptr);

  int Factor() const { return Value_; }
  QLineEdit* Field() const { return Edit_; }

  void accept() override;

 private:
  void Refuse(const std::string& message);

  Refusal TellRefusal_;
  QLineEdit* Edit_;
  int Value_;
};

}  // namespace tavro
