#include "UiTestSupport.h"

#include "ui/AlertView.h"
#include "ui/NavigationController.h"
#include "ui/Renderer.h"
#include "ui/TableView.h"
#include "ui/ViewTreeDump.h"
#include "ui/Window.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

using namespace zorlet;

namespace {

class ChineseList : public ViewController, public TableViewDataSource {
public:
    std::vector<std::string> rows{"周末去香山看红叶", "一起吃火锅吗", "三里屯看电影", "后海划船"};

    std::string className() const override { return "ChineseList"; }
    void viewDidLoad() override {
        setTitle("想法");
        navigationItem().setRightBarButtonItem(
            std::make_shared<BarButtonItem>("发布", BarButtonItem::Style::Bordered, nullptr));
        table = std::make_shared<TableView>(Rect(Point{}, view().frame().size));
        table->setAutoresizingMask(View::FlexibleSize);
        table->setDataSource(this);
        view().addSubview(table);
    }
    int numberOfRows(TableView&, int) override { return static_cast<int>(rows.size()); }
    TableViewCellPtr cellForRow(TableView& t, IndexPath path) override {
        auto cell = t.dequeueReusableCell("Idea");
        if (!cell) {
            cell = std::make_shared<TableViewCell>(TableViewCell::Style::Subtitle, "Idea");
        }
        cell->textLabel().setText(rows[static_cast<std::size_t>(path.row)]);
        cell->detailTextLabel().setText("3人想去");
        cell->imageView().setImage(ImageAsset::named("idea_icon.png"));
        cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
        return cell;
    }

    std::shared_ptr<TableView> table;
};

class RenderTest : public zorlet::test::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        MainLoop::main().clock().pinNow(SystemTime(std::chrono::seconds(1700000000)));
        MainLoop::main().clock().setTimeZone("Asia/Shanghai");
        window->setRootViewController(std::make_shared<NavigationController>(screen));
        window->makeKeyAndVisible();
        AlertView::create("网络不给力，稍后再试吧", "", nullptr, "关闭")->show();
    }
    void TearDown() override {
        MainLoop::main().clock().unpinNow();
        MainLoop::main().clock().setTimeZone({});
        UiTest::TearDown();
    }

    std::shared_ptr<ChineseList> screen = std::make_shared<ChineseList>();
    std::shared_ptr<Window> window = std::make_shared<Window>();
};

TEST_F(RenderTest, TheSampleScreenDrawsItsTextIntoAPng) {
    ImagePtr picture = Renderer::renderWindow(*window);
    ASSERT_EQ(picture->pixelWidth(), 640);
    ASSERT_EQ(picture->pixelHeight(), 960);

    // Text is there: the first row's label area holds dark glyph pixels on the white cell.
    Rect label = screen->table->cellForRow({0, 0})->textLabel().frame();
    Point origin = screen->table->cellForRow({0, 0})->textLabel().convertToWindow({0, 0});
    int dark = 0;
    for (int y = static_cast<int>(origin.y * 2); y < static_cast<int>((origin.y + label.height()) * 2); ++y) {
        for (int x = static_cast<int>(origin.x * 2); x < static_cast<int>((origin.x + label.width()) * 2);
             ++x) {
            std::uint32_t pixel = picture->pixelAt(x, y);
            int r = (pixel >> 16) & 0xFF;
            if (r < 80) {
                ++dark;
            }
        }
    }
    EXPECT_GT(dark, 200);

    // Not a blank or flat picture: many distinct colours (bar, cells, glyph edges, alert).
    std::set<std::uint32_t> colours;
    for (int y = 0; y < picture->pixelHeight(); y += 3) {
        for (int x = 0; x < picture->pixelWidth(); x += 3) {
            colours.insert(picture->pixelAt(x, y));
        }
    }
    EXPECT_GT(colours.size(), 50u);

    auto path = std::filesystem::temp_directory_path() / "zorlet-ui-sample.png";
    if (const char* keep = std::getenv("ZORLET_KEEP_RENDER")) {
        path = keep;
    }
    ASSERT_TRUE(Renderer::writeWindowPng(*window, path.string()));
    auto reread = Image::fromFile(path.string());
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(reread->pixelWidth(), 640);
    if (std::getenv("ZORLET_KEEP_RENDER") == nullptr) {
        std::filesystem::remove(path);
    }
}

TEST_F(RenderTest, TheTextDumpIsStable) {
    std::string expected =
        "Window (0,0,320,480) key statusBar=default\n"
        "  View (0,20,320,460)\n"
        "    View (0,44,320,416)\n"
        "      TableView (0,0,320,416) sections=1 offset=(0,0) content=320x176\n"
        "        TableViewCell (0,0,320,44) row=0.0 reuse=Idea\n"
        "          View (0,0,290,44)\n"
        "            Label (40,2,240,24.2) text=\"周末去香山看红叶\"\n"
        "            Label (40,24.2,240,17.6) text=\"3人想去\"\n"
        "            ImageView (0,7,30,30) image=\"idea_icon.png\"\n"
        "        TableViewCell (0,44,320,44) row=0.1 reuse=Idea\n"
        "          View (0,0,290,44)\n"
        "            Label (40,2,240,24.2) text=\"一起吃火锅吗\"\n"
        "            Label (40,24.2,240,17.6) text=\"3人想去\"\n"
        "            ImageView (0,7,30,30) image=\"idea_icon.png\"\n"
        "        TableViewCell (0,88,320,44) row=0.2 reuse=Idea\n"
        "          View (0,0,290,44)\n"
        "            Label (40,2,240,24.2) text=\"三里屯看电影\"\n"
        "            Label (40,24.2,240,17.6) text=\"3人想去\"\n"
        "            ImageView (0,7,30,30) image=\"idea_icon.png\"\n"
        "        TableViewCell (0,132,320,44) row=0.3 reuse=Idea\n"
        "          View (0,0,290,44)\n"
        "            Label (40,2,240,24.2) text=\"后海划船\"\n"
        "            Label (40,24.2,240,17.6) text=\"3人想去\"\n"
        "            ImageView (0,7,30,30) image=\"idea_icon.png\"\n"
        "    NavigationBar (0,0,320,44)\n"
        "      Button (271,7,44,30) title=\"发布\"\n"
        "      Label (54,0,212,44) text=\"想法\"\n"
        "AlertView (18,184,284,112) title=\"网络不给力，稍后再试吧\" buttons=[\"关闭\"]\n";
    std::string dump = ViewTreeDump::dumpScreen(*window);
    EXPECT_EQ(dump, expected);
    EXPECT_EQ(ViewTreeDump::dumpScreen(*window), dump);
}

}  // namespace

namespace {

TEST(ImageAssetTest, NamedPicturesComeFromTheResourceFolderWithTheirScale) {
    auto folder = std::filesystem::temp_directory_path() / "zorlet-ui-assets";
    std::filesystem::create_directories(folder);
    Image picture(60, 40, 1.0);
    std::string png = picture.pngData();
    {
        std::ofstream(folder / "badge@2x.png", std::ios::binary)
            .write(png.data(), static_cast<std::streamsize>(png.size()));
        std::ofstream(folder / "plain.png", std::ios::binary)
            .write(png.data(), static_cast<std::streamsize>(png.size()));
    }
    ImageAsset::setResourceDirectory(folder.string());
    auto retina = ImageAsset::named("badge.png");
    ASSERT_TRUE(retina->hasPixels());
    EXPECT_EQ(retina->size(), (Size{30, 20}));
    EXPECT_EQ(ImageAsset::named("plain")->size(), (Size{60, 40}));
    EXPECT_EQ(ImageAsset::named("badge.png"), retina);  // loaded once
    auto missing = ImageAsset::named("missing.png");
    EXPECT_FALSE(missing->hasPixels());
    EXPECT_EQ(missing->name(), "missing.png");
    ImageAsset::setResourceDirectory(std::string(ZORLET_RESOURCES_DIR) + "/images");
    std::filesystem::remove_all(folder);
}

}  // namespace
