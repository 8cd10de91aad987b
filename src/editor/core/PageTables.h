#pragma once
// The controls of the settings pages and of the map editor's extra parameters as data: the
// group box that holds each control, its cell in the box's grid, caption, range, step and start
// position. The page builder creates the widgets from these rows and binds every control that
// edits the image to its field of the field table, found by the control's name.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kestrin::editor {

enum class Ctl : std::uint8_t {
    UpDown,  // an edit with its up-down: one spin box "UpDownX" whose edit is "EditX"
    CheckBox,
    Radio,  // radio group: items separated by '|'
    Label,
    Button,
    SpinButton,  // up and down arrows with separate click events
    BikeList,    // the bike catalogue drop-down
    Note,        // the multi-line note
};

// Start positions per element; elements beyond the last given repeat it. None: the minimum.
struct Starts {
    std::array<std::int32_t, 4> value{};
    int count = 0;
};

struct ControlDef {
    Ctl kind = Ctl::Label;
    std::string_view name;  // objectName; arrays append "[i]" or, when numbered, a number
    std::string_view text;  // caption; label and button arrays: one text per element, '|' between
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
    int count = 0;          // 0: one control; n: an array of n controls
    int numberedFrom = -1;  // >= 0: elements named name + (numberedFrom + i)
    bool across = false;    // array elements fill a row instead of a column
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    Starts start;
    std::string_view items;      // radio items, '|' between
    int itemColumns = 1;         // radio columns
    std::string_view labelName;  // caption label in the grid cell left of an up-down
    std::string_view labelText;
    std::string_view hint;
    bool bound = true;              // edits an image field
    bool enterCommits = false;      // Enter commits the page (check boxes)
    bool writtenByHandler = false;  // radio group written only by its click handler
    bool warning = false;           // a label shown in red

    constexpr ControlDef Caption(std::string_view name_, std::string_view text_) const {
        ControlDef d = *this;
        d.labelName = name_;
        d.labelText = text_;
        return d;
    }
    constexpr ControlDef Array(int n) const {
        ControlDef d = *this;
        d.count = n;
        return d;
    }
    constexpr ControlDef Numbered(int n, int from) const {
        ControlDef d = Array(n);
        d.numberedFrom = from;
        return d;
    }
    constexpr ControlDef Across() const {
        ControlDef d = *this;
        d.across = true;
        return d;
    }
    constexpr ControlDef Start(std::int32_t a) const { return Start4(a, a, a, a, 1); }
    constexpr ControlDef Start4(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t e,
                                int n = 4) const {
        ControlDef d = *this;
        d.start = Starts{{a, b, c, e}, n};
        return d;
    }
    constexpr ControlDef Span(int rows, int columns) const {
        ControlDef d = *this;
        d.rowSpan = rows;
        d.columnSpan = columns;
        return d;
    }
    constexpr ControlDef Hint(std::string_view h) const {
        ControlDef d = *this;
        d.hint = h;
        return d;
    }
    constexpr ControlDef Unbound() const {
        ControlDef d = *this;
        d.bound = false;
        return d;
    }
    constexpr ControlDef EnterCommits() const {
        ControlDef d = *this;
        d.enterCommits = true;
        return d;
    }
    constexpr ControlDef WrittenByHandler() const {
        ControlDef d = *this;
        d.writtenByHandler = true;
        return d;
    }
    constexpr ControlDef Warning() const {
        ControlDef d = *this;
        d.warning = true;
        return d;
    }
    constexpr ControlDef Columns(int n) const {
        ControlDef d = *this;
        d.itemColumns = n;
        return d;
    }

    constexpr int elements() const { return count == 0 ? 1 : count; }
    constexpr int startOf(int element) const {
        if (start.count == 0) return minimum;
        const int i = element < start.count ? element : start.count - 1;
        return start.value[static_cast<std::size_t>(i)];
    }
};

constexpr ControlDef UpDown(std::string_view name, int row, int column, int minimum, int maximum,
                            int step = 1) {
    ControlDef d;
    d.kind = Ctl::UpDown;
    d.name = name;
    d.row = row;
    d.column = column;
    d.minimum = minimum;
    d.maximum = maximum;
    d.step = step;
    return d;
}
constexpr ControlDef Labelled(std::string_view name, int row, int column, int minimum, int maximum,
                              int step, std::string_view labelName, std::string_view labelText) {
    return UpDown(name, row, column, minimum, maximum, step).Caption(labelName, labelText);
}
constexpr ControlDef Plain(Ctl kind, std::string_view name, std::string_view text, int row,
                           int column) {
    ControlDef d;
    d.kind = kind;
    d.name = name;
    d.text = text;
    d.row = row;
    d.column = column;
    return d;
}
constexpr ControlDef Label(std::string_view name, std::string_view text, int row, int column) {
    return Plain(Ctl::Label, name, text, row, column);
}
constexpr ControlDef Check(std::string_view name, std::string_view text, int row, int column) {
    return Plain(Ctl::CheckBox, name, text, row, column);
}
constexpr ControlDef Button(std::string_view name, std::string_view text, int row, int column) {
    return Plain(Ctl::Button, name, text, row, column);
}
constexpr ControlDef Radio(std::string_view name, std::string_view title, std::string_view items,
                           int row, int column) {
    ControlDef d = Plain(Ctl::Radio, name, title, row, column);
    d.items = items;
    return d;
}

// Captions of the nine points of the temperature curves, 15 °C apart.
inline constexpr std::string_view kSensorTemperatures =
    "-10 °C|  5 °C| 20 °C| 35 °C| 50 °C| 65 °C| 80 °C| 95 °C|110 °C";

// A group box of a settings page: its controls in one grid. An empty name gives a frameless
// block; a parent names the group box it sits in instead of a page column.
struct GroupDef {
    std::string_view name;
    std::string_view caption;
    int page;
    int column;  // page column, left to right; with a parent: the grid row in the parent
    std::span<const ControlDef> controls;
    std::string_view parent{};
    std::string_view hint{};
};

// All groups of the settings pages, page by page in build order.
std::span<const GroupDef> SettingsGroups();
std::span<const GroupDef> SettingsGroupsA();  // Bike, Poloha, Korekce, Cidla
std::span<const GroupDef> SettingsGroupsB();  // Idle, N2O, Race, Gear, Ladeni, Monitor

// The extra parameters of the map pages and their ranges on each page.
struct MapParDef {
    int page;
    std::string_view name;  // "UpDownMapPar[k]" or a check box or radio group of the map editor
    int minimum = 0;
    int maximum = 0;
    int step = 1;
};
std::span<const MapParDef> MapPars();

// Names of element i of an array control (or of the control itself when count is 0).
std::string ElementName(const ControlDef& def, int element);
// The edit's name of an up-down: "UpDownX[3]" -> "EditX[3]".
std::string EditNameOf(std::string_view upDownName);
// Text i of a '|'-separated list, or empty.
std::string_view ListItem(std::string_view list, int i);
int ListCount(std::string_view list);

}  // namespace kestrin::editor
