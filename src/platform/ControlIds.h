#pragma once

namespace sw {

// Every control, menu item and menu of the program. The numbers below 1000 are the command ids
// the controls and menu items report when used; the ones that never report a command (scroll
// bars, labels, group boxes, the drop-down menus) are numbered from 1000 on.
enum class ControlId : int {
    // menu items
    MenuOpen = 101,
    MenuRevert = 102,
    MenuClose = 103,
    MenuSave = 104,
    MenuSaveAs = 105,
    MenuPreferences = 106,
    MenuToggleControlPanel = 107,
    MenuAbout = 108,
    MenuRecalculateOffset = 109,
    MenuTextureSources = 110,
    MenuKeepProportions = 111,
    MenuUndo = 120,
    MenuRedo = 121,
    MenuRotateLeft = 122,
    MenuRotateRight = 123,
    MenuFlipHorizontally = 124,
    MenuFlipVertically = 125,
    MenuFitView = 126,
    MenuBoxRemap = 127,
    MenuExportTemplate = 130,
    MenuImportPainting = 131,

    // main window
    GlView = 201,
    MouseModeButton = 202,
    ResetViewButton = 203,

    // control panel
    MeshList = 301,
    Hide = 302,
    Wire = 303,
    Show = 304,
    HideAll = 305,
    WireAll = 306,
    ShowAll = 307,
    TextureList = 401,
    SelectNoneTexture = 402,
    ChangeTexture = 403,
    Front = 501,
    Back = 502,
    Top = 503,
    Bottom = 504,
    Left = 505,
    Right = 506,
    Edit = 507,
    Help = 508,
    SelectAll = 509,
    SelectNone = 510,
    Invert = 511,
    Scale = 512,
    ScaleFactor = 513,
    AxisX = 514,
    AxisY = 515,
    AxisXY = 516,
    BoxRemap = 517,

    // Preferences window
    MatFirst = 600,
    BmpFirst = 601,
    MatFallback = 602,
    BmpFallback = 603,
    Browse = 604,
    DefaultPalette = 605,
    Ok = 606,
    Cancel = 607,

    // Texture sources window
    SourcesList = 700,
    AddSourceFolder = 701,
    AddSourceArchive = 702,
    RemoveSource = 703,
    MoveSourceUp = 704,
    MoveSourceDown = 705,
    ReloadModel = 706,
    CloseSources = 707,
    MissingTextures = 708,
    PlacesSearched = 709,

    // without a command id
    FileMenu = 1000,
    OptionsMenu,
    PanYBar,
    PanXBar,
    ZoomBar,
    PitchBar,
    YawBar,
    MeshGroup,
    TextureGroup,
    AutoRemapGroup,
    ManualRemapGroup,
    SelectionLabel,
    AxisLabel,
    PriorityGroup,
    PaletteGroup,
    FileLabel,
    PaletteFile,
    SourcesStatus,
    EditMenu,
    MissingLabel,
    MissingHint,
};

constexpr int toInt(ControlId id) {
    return static_cast<int>(id);
}

// What a control reports with its command, with the values of the list box and button
// notifications of the Windows API.
enum class Notification : int { Clicked = 0, SelectionChange = 1, DoubleClick = 2 };

// A scroll bar's request, with the values of the Windows scroll codes: line and page steps
// up (or left) and down (or right), the thumb released at or dragged to a position, the ends,
// and the end of a scroll gesture.
enum class ScrollRequest : int {
    LineUp = 0,
    LineDown = 1,
    PageUp = 2,
    PageDown = 3,
    ThumbPosition = 4,
    ThumbTrack = 5,
    Top = 6,
    Bottom = 7,
    EndScroll = 8,
};

// The program's two private messages to its tool windows.
enum class PrivateMessage : int {
    Destroy = 0x401, // destroy yourself: the program ends
    Refresh = 0x402, // the Preferences window refills its controls from the preferences
};

// Virtual-key codes, as the key handlers and keyDown index them.
namespace vk {
inline constexpr int kBack = 0x08;
inline constexpr int kTab = 0x09;
inline constexpr int kReturn = 0x0D;
inline constexpr int kShift = 0x10;
inline constexpr int kControl = 0x11;
inline constexpr int kMenu = 0x12; // Alt
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kPrior = 0x21;
inline constexpr int kNext = 0x22;
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
inline constexpr int kNumpad0 = 0x60;
inline constexpr int kMultiply = 0x6A;
inline constexpr int kAdd = 0x6B;
inline constexpr int kSubtract = 0x6D;
inline constexpr int kDecimal = 0x6E;
inline constexpr int kDivide = 0x6F;
inline constexpr int kF1 = 0x70;
inline constexpr int kCount = 256;
} // namespace vk

} // namespace sw
