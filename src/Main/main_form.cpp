#include "Main/main_form.h"

#include "Main/draw_ops_win32.h"
#include "Main/list_geometry.h"
#include "Main/row_painter.h"
#include "about/about_form.h"
#include "app/platform_services.h"
#include "app/title_format.h"
#include "catalogue/task_catalogue.h"
#include "toolkit/application.h"
#include "toolkit/startup_marks.h"

namespace sc {

namespace {

Rect toRect(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

} // namespace

TMainForm::TMainForm(PlatformServices& platform) : platform_(platform) {
    build(mainFormDefinition());
    tk::startupMark("definitions and controls");
}

std::unique_ptr<tk::TForm> makeMainForm(PlatformServices& platform) {
    return std::make_unique<TMainForm>(platform);
}

void TMainForm::FormCreate(tk::TObject&) {
    tk::TApplication& app = tk::Application();
    profile_.productTitle = app.title();
    setCaption(profile_.productTitle);
    for (const char* itemName : {"MenuItemOnTheWeb", "MenuItemAbout"}) {
        tk::TMenuItem& item = *PopupMenu().find(itemName);
        item.setCaption(formatWithTitle(item.caption(), profile_.productTitle));
    }
    resolveBrand(profile_, profile_.productTitle, [&app] { app.terminate(); });

    ListBoxMain().setStyle(tk::TListBoxStyle::lbOwnerDrawFixed);
    ListBoxMain().setItemHeight(kCategoryRowHeight);
    for (std::string_view categoryName : categoryNames()) {
        ListBoxMain().addItem(std::string(categoryName));
    }
    ListBoxData().setStyle(tk::TListBoxStyle::lbOwnerDrawFixed);
    ListBoxData().setItemHeight(kTaskRowHeight);
    ListBoxData().OnAccessibleRow = [](int, const std::string& text) {
        TaskRowSpeech speech = taskRowSpeech(text);
        return tk::TAccessibleRow{std::move(speech.name), std::move(speech.description), "Start"};
    };

    ListBoxMain().setDoubleBuffered(true);
    ListBoxData().setDoubleBuffered(true);
    setDoubleBuffered(true);
}

void TMainForm::FormShow(tk::TObject&) {
    ListBoxMain().setItemIndex(0);
    ListBoxMain().repaint();
    ListBoxMainClick(ListBoxMain());
}

void TMainForm::ListBoxMainClick(tk::TObject&) {
    auto texts = categoryTaskTexts(ListBoxMain().itemIndex(), profile_.productTitle);
    if (!texts) {
        return;
    }
    tk::TListBox& tasks = ListBoxData();
    tasks.clear();
    for (const std::string& text : *texts) {
        tasks.addItem(text);
    }
    tasks.setItemIndex(0);
    tasks.repaint();
}

void TMainForm::ListBoxDataClick(tk::TObject&) {
    auto program = taskProgramFile(ListBoxMain().itemIndex(), ListBoxData().itemIndex());
    if (program) {
        launchTaskProgram(platform_.shell(), platform_, platform_.busyCursor(), *program);
    }
}

RowImageLists TMainForm::imageLists() const {
    return RowImageLists{&PngImageListMain(), &PngImageListData()};
}

void TMainForm::ListBoxMainDrawItem(tk::TObject&, int index, const RECT& rect, unsigned state) {
    tk::TListBox& list = ListBoxMain();
    std::string text = list.item(index);
    SIZE extent = list.canvas().textExtent(text);
    CategoryRowInput row{toRect(rect),
                         index,
                         state,
                         list.width(),
                         list.itemHeight(),
                         Size{PngImageListMain().Width(), PngImageListMain().Height()},
                         text,
                         Size{extent.cx, extent.cy},
                         Dpi(),
                         tk::Application().display().highContrast()};
    executeDrawOps(list.canvas(), paintCategoryRow(row), imageLists());
}

void TMainForm::ListBoxDataDrawItem(tk::TObject&, int index, const RECT& rect, unsigned state) {
    tk::TListBox& list = ListBoxData();
    std::string text = list.item(index);
    TaskRowInput row{toRect(rect),
                     index,
                     state,
                     ListBoxMain().itemIndex(),
                     text,
                     Dpi(),
                     tk::Application().display().highContrast()};
    executeDrawOps(list.canvas(), paintTaskRow(row), imageLists());
}

void TMainForm::ListBoxDataMouseMove(tk::TObject&, unsigned, int x, int y) {
    tk::TListBox& list = ListBoxData();
    auto row = rowAtPoint(Point{x, y}, toRect(list.clientRect()), list.topIndex(),
                          list.itemHeight(), list.count());
    if (row) {
        list.setItemIndex(*row);
    }
}

void TMainForm::ButtonHelpClick(tk::TObject&) {
    POINT origin{0, 0};
    ClientToScreen(handle(), &origin);
    controls::TGlyphBitBtn& help = ButtonHelp();
    Point at = popupMenuPoint(
        Point{origin.x, origin.y},
        Rect{help.left(), help.top(), help.left() + help.width(), help.top() + help.height()});
    PopupMenu().popup(handle(), at.x, at.y);
}

void TMainForm::ButtonOKClick(tk::TObject&) {
    close();
}

void TMainForm::MenuItemOnTheWebClick(tk::TObject&) {
    openWebSite(platform_.shell(), platform_, platform_.busyCursor(), profile_.webSiteAddress);
}

void TMainForm::MenuItemAboutClick(tk::TObject&) {
    showAboutWindow(*this, profile_, platform_);
}

} // namespace sc
