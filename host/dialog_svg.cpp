#include "host/dialog_svg.h"

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "host/frame_svg.h"

namespace orvhost {
namespace {

// Sizes of what the toolkit adds around a dialog's controls, in layout units.
constexpr double kTextSize = 95;
constexpr double kCharacterAdvance = 0.55 * kTextSize;
constexpr double kTitleBarHeight = 230;
constexpr double kButtonRowHeight = 330;
constexpr double kDialogButtonWidth = 900;
constexpr double kDialogButtonHeight = 190;
constexpr double kGap = 300;
constexpr double kListRowHeight = 1.45 * kTextSize;
constexpr double kInset = 40;
// The picture's width on screen, in pixels.
constexpr double kPictureWidth = 1400;

// Colours of a control, sensitive or greyed.
struct Ink {
  const char* text;
  const char* line;
  const char* face;
};
constexpr Ink kSensitive{"#000000", "#555555", "#e6e6e6"};
constexpr Ink kInsensitive{"#a0a0a0", "#c0c0c0", "#f0f0f0"};
constexpr const char* kDialogFace = "#ececec";
constexpr const char* kFieldFace = "#ffffff";
constexpr const char* kTitleFace = "#37598c";
constexpr const char* kSelectionFace = "#3875d7";
constexpr const char* kOutline = "#7fb2e5";

// Where a dialog's body stands on the picture.
struct Place {
  double x = 0, y = 0;
};

class Picture {
 public:
  std::string& svg() { return svg_; }

  void rect(double x, double y, double width, double height, const char* fill, const char* stroke,
            std::string_view extra = {}) {
    svg_ += "<rect";
    number("x", x), number("y", y), number("width", width), number("height", height);
    attribute("fill", fill), attribute("stroke", stroke);
    svg_ += extra;
    svg_ += "/>\n";
  }

  // Text with its baseline at y; `anchor` is "start", "middle" or "end".
  void text(double x, double y, std::string_view content, const char* fill, const char* anchor = "start",
            double size = kTextSize) {
    svg_ += "<text";
    number("x", x), number("y", y), number("font-size", size);
    attribute("fill", fill), attribute("text-anchor", anchor);
    svg_ += '>';
    appendXmlText(svg_, content);
    svg_ += "</text>\n";
  }

  void circle(double x, double y, double radius, const char* fill, const char* stroke) {
    svg_ += "<circle";
    number("cx", x), number("cy", y), number("r", radius);
    attribute("fill", fill), attribute("stroke", stroke);
    svg_ += "/>\n";
  }

  // Everything until endClip() shows only inside the rectangle.
  void beginClip(double x, double y, double width, double height) {
    svg_ += "<svg";
    number("x", x), number("y", y), number("width", width), number("height", height);
    svg_ += " overflow=\"hidden\">\n";
  }
  void endClip() { svg_ += "</svg>\n"; }

  void number(const char* name, double value) {
    svg_ += ' ';
    svg_ += name;
    svg_ += "=\"" + svgNumber(value) + '"';
  }
  void attribute(const char* name, std::string_view value) {
    svg_ += ' ';
    svg_ += name;
    svg_ += "=\"";
    appendXmlText(svg_, value);
    svg_ += '"';
  }

 private:
  std::string svg_;
};

// The baseline that centres one line of text in a band from `top` of
// `height`.
double centredBaseline(double top, double height) { return top + height / 2 + 0.35 * kTextSize; }

double textWidth(std::string_view text) {
  size_t characters = 0;
  for (unsigned char c : text) characters += (c & 0xc0) != 0x80;
  return kCharacterAdvance * static_cast<double>(characters);
}

std::string itemOf(const Control& control) {
  if (control.value < 1 || static_cast<size_t>(control.value) > control.items.size()) return {};
  return control.items[static_cast<size_t>(control.value) - 1];
}

// --- One function per kind of control: each draws the control at its place
// in a dialog whose body starts at `at`.

void drawFrame(Picture& picture, const Control& frame, Place at, const Ink& ink) {
  const double x = at.x + frame.x, y = at.y + frame.y;
  picture.rect(x, y, frame.width, frame.height, "none", ink.line);
  if (frame.label.empty()) return;
  // The title interrupts the frame's top line.
  picture.rect(x + 80, y - kTextSize / 2, textWidth(frame.label) + 2 * kInset, kTextSize, kDialogFace, "none");
  picture.text(x + 80 + kInset, y + 0.35 * kTextSize, frame.label, ink.text);
}

void drawLabel(Picture& picture, const Control& label, Place at, const Ink& ink) {
  // A label has a position only; its size follows from its text.
  const double x = at.x + label.x, y = at.y + label.y;
  picture.rect(x, y, textWidth(label.label), 1.2 * kTextSize, "none", kOutline, " stroke-dasharray=\"20 20\"");
  picture.text(x, y + kTextSize, label.label, ink.text);
}

void drawButton(Picture& picture, const Control& button, Place at, const Ink& ink) {
  const double x = at.x + button.x, y = at.y + button.y;
  picture.rect(x, y, button.width, button.height, ink.face, ink.line, " rx=\"25\"");
  picture.text(x + button.width / 2.0, centredBaseline(y, button.height), button.label, ink.text, "middle");
}

void drawTextField(Picture& picture, const Control& field, Place at, const Ink& ink) {
  const double x = at.x + field.x, y = at.y + field.y;
  picture.rect(x, y, field.width, field.height, kFieldFace, ink.line);
  picture.beginClip(x, y, field.width, field.height);
  picture.text(kInset, centredBaseline(0, field.height), field.text, ink.text);
  picture.endClip();
}

void drawOptionMenu(Picture& picture, const Control& menu, Place at, const Ink& ink) {
  const double x = at.x + menu.x, y = at.y + menu.y;
  picture.rect(x, y, menu.width, menu.height, ink.face, ink.line, " rx=\"15\"");
  picture.beginClip(x, y, menu.width - menu.height, menu.height);
  picture.text(kInset, centredBaseline(0, menu.height), itemOf(menu), ink.text);
  picture.endClip();
  // The menu's drop-down mark.
  const double size = std::min<double>(menu.height, kTextSize) * 0.6;
  const double cx = x + menu.width - menu.height / 2.0, cy = y + menu.height / 2.0;
  picture.svg() += "<path d=\"M" + svgNumber(cx - size / 2) + "," + svgNumber(cy - size / 4) + " L" +
                   svgNumber(cx + size / 2) + "," + svgNumber(cy - size / 4) + " L" + svgNumber(cx) + "," +
                   svgNumber(cy + size / 3) + " Z\" fill=\"" + ink.text + "\"/>\n";
}

void drawToggle(Picture& picture, const Control& toggle, Place at, const Ink& ink) {
  const double x = at.x + toggle.x, y = at.y + toggle.y;
  const double box = std::min<double>(toggle.height, kTextSize);
  const double boxY = y + (toggle.height - box) / 2;
  picture.rect(x, y, toggle.width, toggle.height, "none", kOutline, " stroke-dasharray=\"20 20\"");
  picture.rect(x, boxY, box, box, kFieldFace, ink.line);
  if (toggle.value)
    picture.svg() += "<path d=\"M" + svgNumber(x + box * 0.2) + "," + svgNumber(boxY + box * 0.5) + " L" +
                     svgNumber(x + box * 0.42) + "," + svgNumber(boxY + box * 0.78) + " L" +
                     svgNumber(x + box * 0.82) + "," + svgNumber(boxY + box * 0.22) + "\" fill=\"none\" stroke=\"" +
                     ink.text + "\" stroke-width=\"14\"/>\n";
  picture.text(x + box + kInset, centredBaseline(y, toggle.height), toggle.label, ink.text);
}

void drawRadioBox(Picture& picture, const Control& box, Place at, const Ink& ink) {
  const double x = at.x + box.x, y = at.y + box.y;
  picture.rect(x, y, box.width, box.height, "none", kOutline, " stroke-dasharray=\"20 20\"");
  if (box.items.empty()) return;
  const double row = static_cast<double>(box.height) / static_cast<double>(box.items.size());
  const double radius = std::min(row, kTextSize) * 0.4;
  for (size_t i = 0; i < box.items.size(); ++i) {
    const double top = y + row * static_cast<double>(i);
    const double cx = x + kInset + radius, cy = top + row / 2;
    picture.circle(cx, cy, radius, kFieldFace, ink.line);
    if (static_cast<size_t>(box.value) == i + 1) picture.circle(cx, cy, radius * 0.5, ink.text, "none");
    picture.text(cx + radius + kInset, centredBaseline(top, row), box.items[i], ink.text);
  }
}

void drawList(Picture& picture, const Control& list, Place at, const Ink& ink) {
  const double x = at.x + list.x, y = at.y + list.y;
  picture.rect(x, y, list.width, list.height, kFieldFace, ink.line);
  picture.beginClip(x, y, list.width, list.height);
  for (size_t i = 0; i < list.items.size(); ++i) {
    const double top = kListRowHeight * static_cast<double>(i);
    if (top > list.height) break;
    const bool selected = static_cast<size_t>(list.value) == i + 1;
    if (selected) picture.rect(0, top, list.width, kListRowHeight, kSelectionFace, "none");
    picture.text(kInset, centredBaseline(top, kListRowHeight), list.items[i], selected ? "#ffffff" : ink.text);
  }
  picture.endClip();
}

void drawNothing(Picture&, const Control&, Place, const Ink&) {}

using DrawControl = void (*)(Picture&, const Control&, Place, const Ink&);

// Indexed by ControlKind.
constexpr DrawControl kDrawControl[] = {
    drawNothing,     // Dialog: drawn by drawDialog
    drawFrame,       drawLabel, drawButton, drawTextField, drawOptionMenu, drawRadioBox, drawToggle, drawList,
};

void drawDialogButtons(Picture& picture, const Control& dialog, Place at) {
  static const struct {
    void (*DialogCallbacks::*callback)();
    const char* label;
  } kButtons[] = {{&DialogCallbacks::ok, "OK"},
                  {&DialogCallbacks::apply, "Apply"},
                  {&DialogCallbacks::cancel, "Cancel"},
                  {&DialogCallbacks::help, "Help"}};
  std::vector<const char*> labels;
  for (const auto& button : kButtons)
    if (dialog.dialog.*button.callback) labels.push_back(button.label);
  const double spacing = static_cast<double>(dialog.width) / static_cast<double>(labels.size() + 1);
  const double top = at.y + dialog.height + (kButtonRowHeight - kDialogButtonHeight) / 2;
  for (size_t i = 0; i < labels.size(); ++i) {
    const double centre = at.x + spacing * static_cast<double>(i + 1);
    picture.rect(centre - kDialogButtonWidth / 2, top, kDialogButtonWidth, kDialogButtonHeight, kSensitive.face,
                 kSensitive.line, " rx=\"25\"");
    picture.text(centre, centredBaseline(top, kDialogButtonHeight), labels[i], kSensitive.text, "middle");
  }
}

void drawDialog(Picture& picture, const ToolkitModel& toolkit, const Control& dialog, Place at) {
  const double width = dialog.width, height = dialog.height;
  if (!dialog.open) picture.svg() += "<g opacity=\"0.55\">\n";
  if (dialog.parent != -1)
    picture.rect(at.x + 60, at.y - kTitleBarHeight + 60, width, height + kTitleBarHeight + kButtonRowHeight,
                 "#000000", "none", " opacity=\"0.25\"");
  picture.rect(at.x, at.y - kTitleBarHeight, width, kTitleBarHeight, kTitleFace, "#333333");
  picture.text(at.x + kInset * 2, centredBaseline(at.y - kTitleBarHeight, kTitleBarHeight),
               dialog.open ? dialog.label : dialog.label + " (closed)", "#ffffff", "start", 1.2 * kTextSize);
  picture.rect(at.x, at.y, width, height + kButtonRowHeight, kDialogFace, "#333333");
  picture.svg() += "<line" + std::string(" x1=\"") + svgNumber(at.x) + "\" y1=\"" + svgNumber(at.y + height) +
                   "\" x2=\"" + svgNumber(at.x + width) + "\" y2=\"" + svgNumber(at.y + height) +
                   "\" stroke=\"#b0b0b0\"/>\n";
  for (const Control* control : toolkit.childrenOf(dialog.handle))
    kDrawControl[static_cast<int>(control->kind)](picture, *control, at,
                                                   control->sensitive ? kSensitive : kInsensitive);
  drawDialogButtons(picture, dialog, at);
  if (!dialog.open) picture.svg() += "</g>\n";
}

}  // namespace

void writeDialogSvg(std::ostream& out, const ToolkitModel& toolkit) {
  // Dialogs in the main window one below the other; open dialogs standing in
  // another dialog centred over it. A parent is created before its children,
  // so one pass in creation order places every dialog.
  std::map<int32_t, Place> places;
  std::vector<const Control*> drawn;
  double bottom = kGap, right = kGap;
  for (const Control& dialog : toolkit.controls()) {
    if (dialog.kind != ControlKind::Dialog) continue;
    Place place;
    if (dialog.parent == -1) {
      place = {kGap, bottom + kTitleBarHeight};
      bottom = place.y + dialog.height + kButtonRowHeight + kGap;
    } else {
      const auto parent = places.find(dialog.parent);
      const Control* parentDialog = toolkit.find(dialog.parent);
      if (!dialog.open || parent == places.end() || !parentDialog) continue;
      place = {parent->second.x + (parentDialog->width - dialog.width) / 2.0,
               parent->second.y + (parentDialog->height - dialog.height) / 2.0};
    }
    places[dialog.handle] = place;
    drawn.push_back(&dialog);
    right = std::max(right, place.x + dialog.width + kGap);
    bottom = std::max(bottom, place.y + dialog.height + kButtonRowHeight + kGap);
  }

  Picture picture;
  if (drawn.empty()) {
    right = 4000, bottom = 1000;
    picture.text(right / 2, bottom / 2, "no dialog was created", kSensitive.text, "middle", 1.5 * kTextSize);
  }
  // Dialogs in the main window first, then the ones over them.
  std::stable_partition(drawn.begin(), drawn.end(), [](const Control* dialog) { return dialog->parent == -1; });
  for (const Control* dialog : drawn) drawDialog(picture, toolkit, *dialog, places[dialog->handle]);

  std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"";
  head += " width=\"" + svgNumber(kPictureWidth) + "\" height=\"" + svgNumber(kPictureWidth * bottom / right) +
          "\" viewBox=\"0 0 " + svgNumber(right) + " " + svgNumber(bottom) +
          "\" font-family=\"Helvetica, Arial, sans-serif\" xml:space=\"preserve\" style=\"white-space:pre\">\n";
  head += "<rect x=\"0\" y=\"0\" width=\"" + svgNumber(right) + "\" height=\"" + svgNumber(bottom) +
          "\" fill=\"#ffffff\"/>\n";
  out << head << picture.svg() << "</svg>\n";
}

}  // namespace orvhost
