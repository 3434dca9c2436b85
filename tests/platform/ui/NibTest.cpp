#include "platform/ui/Nib.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <set>
#include <stdexcept>

#include "platform/foundation/Error.h"
#include "platform/graphics/Image.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/UiTest.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using pf::Nib;
using pf::NibClassBuilder;
using pf::NibRegistry;
using pf::ObjectPtr;
using testing::HasSubstr;

// A control that sends its touch-up action to whoever the file connected.
class NibKnob : public pf::View {
  PF_OBJECT(NibKnob, pf::View)
  void addHandler(unsigned events, std::function<void(const ObjectPtr&)> handler) {
    handlers.emplace_back(events, std::move(handler));
  }
  void touchesBegan(const pf::TouchSet&, const pf::Event*) override {}
  void touchesEnded(const pf::TouchSet&, const pf::Event*) override {
    for (auto& [events, handler] : handlers) {
      if (events & 64) handler(shared_from_this());
    }
  }
  std::vector<std::pair<unsigned, std::function<void(const ObjectPtr&)>>> handlers;
};

class NibCaption : public pf::View {
  PF_OBJECT(NibCaption, pf::View)
  void setText(const std::string& value) { text = value; }
  void setFont(std::shared_ptr<const pf::Font> value) { font = std::move(value); }
  void setTextColor(pf::Color value) { textColor = value; }
  void setLines(int value) { lines = value; }
  void setImage(std::shared_ptr<pf::Image> value) { image = std::move(value); }
  void setAnchor(pf::Point value) { anchor = value; }
  std::string text;
  std::shared_ptr<const pf::Font> font;
  std::optional<pf::Color> textColor;
  int lines = 1;
  std::shared_ptr<pf::Image> image;
  pf::Point anchor;
};

class NibRow : public pf::View {
  PF_OBJECT(NibRow, pf::View)
  void setReuseIdentifier(const std::string& value) { reuseIdentifier = value; }
  void awakeFromNib() override { captionAtAwake = caption != nullptr; }
  std::string reuseIdentifier;
  std::shared_ptr<NibCaption> caption;
  bool captionAtAwake = false;
};

class NibForm : public pf::ViewController {
  PF_OBJECT(NibForm, pf::ViewController)
  using ViewController::ViewController;
  void goClick(const ObjectPtr& sender) { taps.push_back(sender); }
  void reset() { ++resets; }
  std::shared_ptr<NibCaption> title;
  std::shared_ptr<NibKnob> go;
  std::shared_ptr<pf::View> spare;
  std::vector<ObjectPtr> taps;
  int resets = 0;
};

// A tab bar controller's delegate, to connect an interface outlet to the owner.
class NibTabsOwner : public pf::ViewController, public pf::TabBarControllerDelegate {
  PF_OBJECT(NibTabsOwner, pf::ViewController)
  std::shared_ptr<pf::TabBarController> tabs;
};

// A screen of the platform's own controls.
class NibLogin : public pf::ViewController {
  PF_OBJECT(NibLogin, pf::ViewController)
  using ViewController::ViewController;
  void loginClick(const ObjectPtr& sender) {
    senders.push_back(sender);
    greeting->setText("欢迎");
  }
  std::shared_ptr<pf::Label> greeting;
  std::shared_ptr<pf::Button> login;
  std::vector<ObjectPtr> senders;
};

void defineClasses() {
  NibRegistry::define<NibLogin>([](NibClassBuilder<NibLogin>& b) {
    b.outlet("greeting", &NibLogin::greeting)
        .outlet("login", &NibLogin::login)
        .action("loginClick", &NibLogin::loginClick);
  });
  NibRegistry::define<NibKnob>([](NibClassBuilder<NibKnob>& b) {
    b.sendsActions(
        [](NibKnob& knob, unsigned events, auto handler) { knob.addHandler(events, std::move(handler)); });
  });
  NibRegistry::define<NibCaption>([](NibClassBuilder<NibCaption>& b) {
    b.property("text", &NibCaption::setText)
        .property("font", &NibCaption::setFont)
        .property("textColor", &NibCaption::setTextColor)
        .property("image", &NibCaption::setImage)
        .property("anchor", &NibCaption::setAnchor)
        .named("lines", &NibCaption::setLines, {{"single", 1}, {"unlimited", 0}});
  });
  NibRegistry::define<NibRow>([](NibClassBuilder<NibRow>& b) {
    b.property("reuseIdentifier", &NibRow::setReuseIdentifier).outlet("caption", &NibRow::caption);
  });
  NibRegistry::define<NibForm>([](NibClassBuilder<NibForm>& b) {
    b.outlet("title", &NibForm::title)
        .outlet("go", &NibForm::go)
        .outlet("spare", &NibForm::spare)
        .action("goClick", &NibForm::goClick)
        .action("reset", &NibForm::reset);
  });
  NibRegistry::define<NibTabsOwner>(
      [](NibClassBuilder<NibTabsOwner>& b) { b.outlet("tabs", &NibTabsOwner::tabs); });
}

class NibTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    defineClasses();
    pf::Bundle::setMainBundlePath(folder.path());
  }
  void TearDown() override {
    window->setRootViewController(nullptr);
    pf::Bundle::setMainBundlePath("");
    UiTest::TearDown();
  }
  std::shared_ptr<Nib> write(const std::string& name, const std::string& body) {
    std::ofstream(folder.file(name + ".nib")) << body;
    return Nib::nibWithNibName(name);
  }

  pf_test::TemporaryFolder folder;
};

constexpr char kForm[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<interface>
  <object class="View" id="main" frame="0 0 320 460" autoresizingMask="flexibleWidth|flexibleHeight"
          backgroundColor="#FFFFFF">
    <object class="NibCaption" id="title" frame="20 20 280 30" text="登录" font="bold 17" textColor="#336699"
            lines="unlimited" anchor="1.5 2" tag="7"/>
    <object class="NibKnob" id="go" frame="20 100 280 44" backgroundColor="#FF0000"/>
  </object>
  <object class="View" id="spare" frame="0 0 10 10" hidden="YES" alpha="0.5"/>
  <connections>
    <outlet source="owner" name="view" destination="main"/>
    <outlet source="owner" name="title" destination="title"/>
    <outlet source="owner" name="go" destination="go"/>
    <outlet source="owner" name="spare" destination="spare"/>
    <action source="go" event="touchUpInside" destination="owner" name="goClick"/>
    <action source="go" event="64" name="reset" destination="owner"/>
  </connections>
</interface>
)";

TEST_F(NibTest, ScreenFromItsFileTakesATapEndToEnd) {
  write("NibForm", kForm);
  auto form = std::make_shared<NibForm>("NibForm");
  window->setRootViewController(form);
  ASSERT_TRUE(form->title && form->go);
  EXPECT_EQ(form->title->text, "登录");
  EXPECT_EQ(form->title->lines, 0);
  EXPECT_EQ(form->title->tag(), 7);
  EXPECT_EQ(form->title->anchor, (pf::Point{1.5, 2}));
  ASSERT_TRUE(form->title->font);
  EXPECT_EQ(form->title->font->pointSize(), 17);
  EXPECT_EQ(*form->title->textColor, pf::Color::fromRgba(0x33 / 255.0, 0x66 / 255.0, 0x99 / 255.0));
  EXPECT_EQ(form->view()->autoresizingMask(), pf::View::kFlexibleWidth | pf::View::kFlexibleHeight);
  EXPECT_EQ(form->go->superview(), form->view());
  // The top-level object nobody else holds lives on through the owner's outlet.
  ASSERT_TRUE(form->spare);
  EXPECT_TRUE(form->spare->isHidden());
  EXPECT_EQ(form->spare->alpha(), 0.5);

  pf::HeadlessHost host;
  host.tap({160, 20 + 122});
  ASSERT_EQ(form->taps.size(), 1u);
  EXPECT_EQ(form->taps[0], form->go);
  EXPECT_EQ(form->resets, 1);
  host.render();
  EXPECT_EQ(host.pixelAt({160, 20 + 122}).red, 255);
  EXPECT_EQ(host.pixelAt({160, 20 + 122}).green, 0);
}

TEST_F(NibTest, PlatformButtonFromAFileTakesATapEndToEnd) {
  write("NibLogin", R"(<interface>
  <object class="View" id="main" backgroundColor="white">
    <object class="Label" id="greeting" frame="20 20 280 30" text="请登录" font="17" textAlignment="center"
            textColor="#333333" numberOfLines="0"/>
    <object class="Button" id="login" frame="20 100 280 44" title="登录" selectedTitle="已登录"
            titleColor="white" backgroundColor="#2266CC" font="bold 15"/>
  </object>
  <connections>
    <outlet source="owner" name="view" destination="main"/>
    <outlet source="owner" name="greeting" destination="greeting"/>
    <outlet source="owner" name="login" destination="login"/>
    <action source="login" event="touchUpInside" destination="owner" name="loginClick"/>
  </connections>
</interface>)");
  auto screen = std::make_shared<NibLogin>("NibLogin");
  window->setRootViewController(screen);
  ASSERT_TRUE(screen->greeting && screen->login);
  EXPECT_EQ(screen->greeting->text(), "请登录");
  EXPECT_EQ(screen->greeting->textAlignment(), pf::TextAlignment::center);
  EXPECT_EQ(screen->login->titleForState(pf::Control::kSelected), "已登录");
  pf::HeadlessHost host;
  host.tap({160, 20 + 122});
  ASSERT_EQ(screen->senders.size(), 1u);
  EXPECT_EQ(screen->senders[0], screen->login);
  EXPECT_EQ(screen->greeting->text(), "欢迎");
  screen->login->sendActionsForControlEvents(pf::Control::kTouchDown);
  EXPECT_EQ(screen->senders.size(), 1u);
}

TEST_F(NibTest, ActionsToAGoneOwnerDoNothing) {
  auto nib = write("NibForm", kForm);
  auto form = std::make_shared<NibForm>();
  auto objects = nib->instantiateWithOwner(form);
  auto go = form->go;
  form.reset();
  go->touchesEnded({}, nullptr);  // no owner to call: nothing happens
  EXPECT_EQ(objects.size(), 2u);
}

TEST_F(NibTest, CellLoadedForItsReuseIdentifierIsAwokenAfterItsOutlets) {
  auto nib = write("PlainRow", R"(<interface>
  <object class="NibRow" id="row" reuseIdentifier="PlainRow" frame="0 0 320 44">
    <object class="NibCaption" id="caption" text="x"/>
  </object>
  <connections><outlet source="row" name="caption" destination="caption"/></connections>
</interface>)");
  auto cell = std::dynamic_pointer_cast<NibRow>(nib->instantiateCell("PlainRow"));
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->reuseIdentifier, "PlainRow");
  EXPECT_TRUE(cell->captionAtAwake);
  // Each load makes a new cell.
  EXPECT_NE(nib->instantiateCell("PlainRow"), cell);
  try {
    nib->instantiateCell("OtherRow");
    FAIL() << "a cell declared for another identifier loaded";
  } catch (const pf::ContractViolation& e) {
    EXPECT_THAT(
        e.what(),
        HasSubstr("PlainRow.nib:2: the cell is declared for the reuse identifier PlainRow, not OtherRow"));
  }
}

TEST_F(NibTest, ImagesComeFromTheBundleAndDelegatesConnectToTheOwner) {
  auto picture = pf::Image::withBitmap(pf::Bitmap::create(2, 2));
  const auto png = picture->pngData();
  std::ofstream(folder.file("CMN_BASE_bg.png"), std::ios::binary)
      .write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
  auto nib = write("Tabs", R"(<interface>
  <object class="TabBarController" id="tabs"/>
  <object class="NibCaption" id="back" image="CMN_BASE_bg.png"/>
  <connections>
    <outlet source="owner" name="tabs" destination="tabs"/>
    <outlet source="tabs" name="delegate" destination="owner"/>
  </connections>
</interface>)");
  auto owner = std::make_shared<NibTabsOwner>();
  auto objects = nib->instantiateWithOwner(owner);
  ASSERT_TRUE(owner->tabs);
  EXPECT_EQ(owner->tabs->delegate().lock().get(), static_cast<pf::TabBarControllerDelegate*>(owner.get()));
  auto back = std::dynamic_pointer_cast<NibCaption>(objects[1]);
  ASSERT_TRUE(back->image);
  EXPECT_EQ(back->image->size(), (pf::Size{2, 2}));
}

struct ErrorCase {
  const char* name;
  const char* body;
  const char* message;
};

class NibErrors : public NibTest, public testing::WithParamInterface<ErrorCase> {};

TEST_P(NibErrors, NameTheFileAndLine) {
  auto nib = write("Broken", GetParam().body);
  auto form = std::make_shared<NibForm>();
  try {
    nib->instantiateWithOwner(form);
    FAIL() << "loaded";
  } catch (const pf::ContractViolation& e) {
    // The parser's own wording varies between libxml2 releases: only its file and line are checked.
    EXPECT_THAT(e.what(), testing::StartsWith(folder.file("Broken.nib") + ":" + GetParam().message));
  }
  // Nothing of the owner was touched.
  EXPECT_FALSE(form->isViewLoaded());
  EXPECT_FALSE(form->title);
}

INSTANTIATE_TEST_SUITE_P(
    Files, NibErrors,
    testing::Values(
        ErrorCase{"UnknownClass", "<interface>\n<object class=\"Gadget\"/>\n</interface>",
                  "2: unknown class Gadget"},
        ErrorCase{"UnknownProperty", "<interface>\n<object class=\"NibCaption\" txt=\"a\"/>\n</interface>",
                  "2: class NibCaption has no property txt"},
        ErrorCase{"BadValue", "<interface>\n\n<object class=\"View\" frame=\"0 0 10\"/>\n</interface>",
                  "3: property frame of View cannot take \"0 0 10\" (expected a rectangle)"},
        ErrorCase{"BadColour",
                  "<interface>\n<object class=\"View\" backgroundColor=\"#12345\"/>\n</interface>",
                  "2: property backgroundColor of View cannot take \"#12345\" (expected a colour)"},
        ErrorCase{
            "MissingImage", "<interface>\n<object class=\"NibCaption\" image=\"nothing.png\"/>\n</interface>",
            "2: property image of NibCaption cannot take \"nothing.png\" (expected an image of the bundle)"},
        ErrorCase{"UnknownOutlet",
                  "<interface>\n<object class=\"View\" id=\"v\"/>\n<connections>\n"
                  "<outlet source=\"owner\" name=\"view\" destination=\"v\"/>\n"
                  "<outlet source=\"owner\" name=\"titel\" destination=\"v\"/>\n</connections>\n</interface>",
                  "5: class NibForm has no outlet named titel"},
        ErrorCase{"OutletOfTheWrongKind",
                  "<interface>\n<object class=\"View\" id=\"v\"/>\n<connections>\n"
                  "<outlet source=\"owner\" name=\"title\" destination=\"v\"/>\n</connections>\n</interface>",
                  "4: outlet title of NibForm cannot hold a View"},
        ErrorCase{"UnknownAction",
                  "<interface>\n<object class=\"NibKnob\" id=\"k\"/>\n<connections>\n"
                  "<action source=\"k\" event=\"touchUpInside\" destination=\"owner\" name=\"goClik\"/>\n"
                  "</connections>\n</interface>",
                  "4: class NibForm has no action named goClik"},
        ErrorCase{"UnknownEvent",
                  "<interface>\n<object class=\"NibKnob\" id=\"k\"/>\n<connections>\n"
                  "<action source=\"k\" event=\"touchUpSideways\" destination=\"owner\" name=\"goClick\"/>\n"
                  "</connections>\n</interface>",
                  "4: unknown event touchUpSideways"},
        ErrorCase{"ActionFromAViewThatSendsNone",
                  "<interface>\n<object class=\"View\" id=\"k\"/>\n<connections>\n"
                  "<action source=\"k\" event=\"touchUpInside\" destination=\"owner\" name=\"goClick\"/>\n"
                  "</connections>\n</interface>",
                  "4: class View sends no actions"},
        ErrorCase{
            "UnknownId",
            "<interface>\n<connections>\n<outlet source=\"owner\" name=\"view\" destination=\"nope\"/>\n"
            "</connections>\n</interface>",
            "3: no object with the id nope"},
        ErrorCase{
            "IdTwice",
            "<interface>\n<object class=\"View\" id=\"a\"/>\n<object class=\"View\" id=\"a\"/>\n</interface>",
            "3: the id a is used twice"},
        ErrorCase{"ControllerAsSubview",
                  "<interface>\n<object class=\"View\">\n<object "
                  "class=\"ViewController\"/>\n</object>\n</interface>",
                  "3: ViewController is not a view and cannot be a subview"},
        ErrorCase{"UnknownElement", "<interface>\n<view class=\"View\"/>\n</interface>",
                  "2: unknown element <view>"},
        ErrorCase{"WrongRoot", "<screen/>", "1: the root element is <screen>, not <interface>"},
        ErrorCase{"NotWellFormed", "<interface>\n<object class=\"View\">\n</interface>", "3: "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NibTest, MissingFileAndMissingViewOutletAreNamed) {
  auto form = std::make_shared<NibForm>("Absent");
  EXPECT_THROW(
      {
        try {
          form->view();
        } catch (const pf::ContractViolation& e) {
          EXPECT_EQ(std::string(e.what()), folder.file("Absent.nib") + ": no such interface file");
          throw;
        }
      },
      pf::ContractViolation);
  write("NoView", "<interface><object class=\"View\"/></interface>");
  auto blind = std::make_shared<NibForm>("NoView");
  try {
    blind->view();
    FAIL() << "a screen without its view loaded";
  } catch (const pf::ContractViolation& e) {
    EXPECT_EQ(std::string(e.what()), "The interface file NoView does not connect the view of NibForm");
  }
  // A file that connects the owner needs one.
  auto nib = write("NibForm", kForm);
  try {
    nib->instantiateWithOwner(nullptr);
    FAIL() << "loaded without an owner";
  } catch (const pf::ContractViolation& e) {
    EXPECT_THAT(e.what(), HasSubstr("NibForm.nib:11: the file connects its owner, but no owner was given"));
  }
}

}  // namespace

namespace {

// Faults caught: a cell's content view laid over the controls its file put on the cell, so they took
// no taps; the file's subviews not moving with the content view.
TEST_F(NibTest, PlatformCellAndTextFieldFromAFile) {
  auto nib = write("CmsMyCell", R"(<interface>
  <object class="TableViewCell" reuseIdentifier="CmsMyCell" frame="0 0 320 80">
    <object class="TextField" placeholder="搜索" secureTextEntry="NO" frame="10 10 200 30"/>
    <object class="Button" frame="240 20 60 40" autoresizingMask="flexibleLeftMargin"/>
  </object>
</interface>)");
  auto cell = std::dynamic_pointer_cast<pf::TableViewCell>(nib->instantiateCell("CmsMyCell"));
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->reuseIdentifier(), "CmsMyCell");
  const auto& content = cell->contentView();
  ASSERT_EQ(content->subviews().size(), 2u) << "the file's subviews went beside the content view";
  auto field = std::dynamic_pointer_cast<pf::TextField>(content->subviews()[0]);
  auto button = std::dynamic_pointer_cast<pf::Button>(content->subviews()[1]);
  ASSERT_TRUE(field && button);
  EXPECT_EQ(field->placeholder(), "搜索");
  EXPECT_EQ(content->frame(), pf::Rect(0, 0, 320, 80));

  cell->setFrame(pf::Rect(0, 100, 320, 80));
  window->addSubview(cell);
  cell->layoutIfNeeded();
  EXPECT_EQ(window->hitTest({270, 140}, nullptr), button) << "the button takes no taps";
  EXPECT_EQ(window->hitTest({50, 125}, nullptr), field);
  cell->setEditing(true);
  cell->layoutIfNeeded();
  EXPECT_EQ(button->convertRectToView(button->bounds(), cell.get()), pf::Rect(240, 20, 60, 40))
      << "a right-pinned control stays put while the content view starts after the delete control";
  EXPECT_EQ(field->convertRectToView(field->bounds(), cell.get()).minX(),
            10 + pf::TableViewCell::kEditControlWidth);
}

TEST_F(NibTest, EntitiesInAttributesAreNeverExpanded) {
  // A kilobyte entity named a thousand times: 5 KB of file, 4 MB of attribute once expanded.
  std::string doctype = "<!DOCTYPE interface [<!ENTITY e \"" + std::string(1000, 'x') + "\">";
  std::string references;
  for (int i = 0; i < 1000; ++i) references += "&e;";
  auto nib = write("BombCell", doctype + R"(]><interface>
  <object class="TableViewCell" reuseIdentifier="BombCell" frame="0 0 320 80">
    <object class="TextField" placeholder="a &amp; b &#x641C; &e;" frame="10 10 200 30" text=")" +
                                   references + R"("/>
  </object>
</interface>)");
  auto cell = std::dynamic_pointer_cast<pf::TableViewCell>(nib->instantiateCell("BombCell"));
  ASSERT_TRUE(cell);
  std::shared_ptr<pf::TextField> field;
  for (auto& v : cell->contentView()->subviews()) {
    if (auto typed = std::dynamic_pointer_cast<pf::TextField>(v)) field = typed;
  }
  ASSERT_TRUE(field);
  EXPECT_EQ(field->placeholder(), "a & b 搜 &e;");
  EXPECT_EQ(field->text().size(), references.size());
}

// Rows whose cells come from the file registered for their identifier.
class NibRows : public pf::TableViewDataSource {
 public:
  long numberOfRowsInSection(pf::TableView&, long) override { return 200; }
  std::shared_ptr<pf::TableViewCell> cellForRowAtIndexPath(pf::TableView& table, const pf::IndexPath& path) override {
    auto cell = table.dequeueReusableCellWithIdentifier(identifier);
    if (!cell) throw std::logic_error("no cell for " + identifier);
    cell->textLabel()->setText("Row " + std::to_string(path.row));
    served.insert(cell.get());
    return cell;
  }
  std::string identifier = "CmsMyCell";
  std::set<const pf::TableViewCell*> served;
};

TEST_F(NibTest, ATableDequeuesCellsFromTheFileRegisteredForTheirIdentifier) {
  auto nib = write("CmsMyCell", R"(<interface>
  <object class="TableViewCell" reuseIdentifier="CmsMyCell" frame="0 0 320 80">
    <object class="TextField" placeholder="搜索" frame="10 10 200 30"/>
  </object>
</interface>)");
  auto table = std::make_shared<pf::TableView>(pf::Rect(0, 0, 320, 480));
  table->setRowHeight(80);
  auto rows = std::make_shared<NibRows>();
  table->setDataSource(rows);
  table->registerNib(nib, "CmsMyCell");
  window->addSubview(table);
  table->reloadData();
  table->layoutIfNeeded();
  auto first = table->cellForRowAtIndexPath({0, 0});
  ASSERT_TRUE(first);
  EXPECT_EQ(first->reuseIdentifier(), "CmsMyCell");
  EXPECT_EQ(first->frame(), pf::Rect(0, 0, 320, 80));
  EXPECT_EQ(first->textLabel()->text(), "Row 0");
  // Each one is a fresh copy of the file's cell, with its own text field.
  bool hasField = false;
  for (auto& v : first->contentView()->subviews())
    hasField = hasField || std::dynamic_pointer_cast<pf::TextField>(v);
  EXPECT_TRUE(hasField);
  // Scrolling through reuses a screenful instead of loading the file again.
  for (double y = 0; y < 200 * 80 - 480; y += 60) table->setContentOffset({0, y});
  EXPECT_LE(table->cellsMadeFromRegistrations(), 8u);
  EXPECT_EQ(rows->served.size(), table->cellsMadeFromRegistrations());
  EXPECT_EQ(table->cellForRowAtIndexPath({199, 0}), nullptr);
  EXPECT_EQ(table->cellForRowAtIndexPath({0, 199})->textLabel()->text(), "Row 199");

  // A file whose root is not a cell is named when the table asks it for one.
  auto plain = write("NotACell", R"(<interface><object class="View" frame="0 0 10 10"/></interface>)");
  table->registerNib(plain, "NotACell");
  try {
    table->dequeueReusableCellWithIdentifier("NotACell");
    ADD_FAILURE() << "a view that is not a cell was handed out";
  } catch (const std::exception& e) {
    EXPECT_THAT(e.what(), HasSubstr("NotACell"));
  }
}

}  // namespace
