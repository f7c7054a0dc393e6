// The main window's stored image lists and the collection bracket their loading relies on.
#include "Main/main_image_lists.h"
#include "Main/pictures/embedded_pictures.h"
#include "png/png_image.h"
#include "png/png_scaled_pictures.h"
#include "png/png_stream.h"
#include "toolkit/collection.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// ---- Collection update brackets ----

class NamedItem : public tk::TCollectionItem {
  public:
    using tk::TCollectionItem::TCollectionItem;
    const char* ClassName() const override { return "NamedItem"; }
    void Assign(const tk::TCollectionItem& source) override {
        if (auto* s = dynamic_cast<const NamedItem*>(&source)) {
            text = s->text;
            Changed(false);
            return;
        }
        tk::TCollectionItem::Assign(source);
    }
    void SetText(std::string t) {
        text = std::move(t);
        Changed(false);
    }
    std::string text;
};

class OtherItem : public tk::TCollectionItem {
  public:
    using tk::TCollectionItem::TCollectionItem;
};

class RecordingCollection : public tk::TCollection {
  public:
    std::vector<const tk::TCollectionItem*> updates;

  protected:
    std::unique_ptr<tk::TCollectionItem> CreateItem() override {
        return std::make_unique<NamedItem>(*this);
    }
    void Update(tk::TCollectionItem* item) override { updates.push_back(item); }
};

NamedItem& addNamed(RecordingCollection& c, const char* text) {
    auto& item = static_cast<NamedItem&>(c.Add());
    item.text = text;
    return item;
}

TEST(Collection, UpdatesOncePerChangeOutsideABracketAndOnceAtTheOutermostEnd) {
    RecordingCollection c;
    NamedItem& a = addNamed(c, "a");
    addNamed(c, "b");
    a.SetText("a2");
    ASSERT_EQ(c.updates.size(), 3u);
    EXPECT_EQ(c.updates[0], nullptr);
    EXPECT_EQ(c.updates[2], &a); // an item's own change names the item

    c.updates.clear();
    c.BeginUpdate();
    c.BeginUpdate();
    addNamed(c, "c");
    c.Items(0)->SetIndex(2);
    c.Delete(0);
    c.EndUpdate();
    EXPECT_TRUE(c.updates.empty()) << "an inner bracket end runs nothing";
    c.EndUpdate();
    ASSERT_EQ(c.updates.size(), 1u);
    EXPECT_EQ(c.updates[0], nullptr);
    c.EndUpdate(); // unbalanced: ignored
    EXPECT_EQ(c.UpdateCount(), 0);
    EXPECT_EQ(c.updates.size(), 1u);

    ASSERT_EQ(c.Count(), 2);
    EXPECT_EQ(static_cast<NamedItem*>(c.Items(0))->text, "c");
    EXPECT_EQ(static_cast<NamedItem*>(c.Items(1))->text, "a2");
    EXPECT_EQ(c.Items(1)->Index(), 1);
    EXPECT_EQ(c.Items(2), nullptr);
    EXPECT_EQ(c.Items(-1), nullptr);
}

TEST(Collection, AssignCopiesEveryItemUnderOneUpdateAndRefusesForeignItems) {
    RecordingCollection source, target;
    addNamed(source, "x");
    addNamed(source, "y");
    addNamed(target, "old");
    target.updates.clear();
    target.Assign(source);
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(static_cast<NamedItem*>(target.Items(1))->text, "y");
    EXPECT_EQ(target.updates.size(), 1u);

    OtherItem foreign(source);
    EXPECT_THROW(target.Items(0)->Assign(foreign), tk::EConvertError);
    EXPECT_EQ(target.Items(0)->DisplayName(), "NamedItem");
}

// ---- The stored lists ----

std::unique_ptr<sc::png::TPNGObject> decode(std::span<const unsigned char> data) {
    auto png = std::make_unique<sc::png::TPNGObject>();
    sc::png::TPngMemoryStream stream(data.data(), data.size());
    png->ReadPng(stream);
    return png;
}

TEST(MainImageLists, HoldTheStoredPicturesInTheirOrderAsRgbaOfTheListSize) {
    std::vector<tk::PngImageListDefinition> lists = sc::mainWindowImageLists();
    ASSERT_EQ(lists.size(), 3u);
    const std::size_t counts[] = {4, 14, 2};
    const int sizes[] = {48, 48, 32};
    for (std::size_t l = 0; l < 3; ++l) {
        const tk::PngImageListDefinition& list = lists[l];
        EXPECT_EQ(list.width, sizes[l]);
        EXPECT_EQ(list.height, sizes[l]);
        ASSERT_EQ(list.pngImages.size(), counts[l]);
        for (std::size_t i = 0; i < list.pngImages.size(); ++i) {
            auto png = decode(list.pngImages[i].pngData);
            EXPECT_EQ(static_cast<int>(png->Width()), sizes[l]);
            EXPECT_EQ(static_cast<int>(png->Height()), sizes[l]);
            EXPECT_EQ(png->HeaderChunk().ColorType(), 6) << list.name << " " << i;
            EXPECT_EQ(png->HeaderChunk().BitDepth(), 8);
        }
        // The same pictures at 1.5 and 2 times the size, rendered as such, in the same order.
        ASSERT_EQ(list.scaledSets.size(), 2u);
        for (std::size_t s = 0; s < 2; ++s) {
            const tk::PngImageScaledSet& set = list.scaledSets[s];
            const int size = sizes[l] * (s == 0 ? 3 : 4) / 2;
            EXPECT_EQ(set.width, size);
            EXPECT_EQ(set.height, size);
            ASSERT_EQ(set.pngData.size(), counts[l]);
            for (std::size_t i = 0; i < counts[l]; ++i) {
                auto png = decode(set.pngData[i]);
                EXPECT_EQ(png->Width(), size) << list.name << " " << i;
                EXPECT_EQ(png->Height(), size);
                EXPECT_EQ(png->HeaderChunk().ColorType(), 6);
                EXPECT_EQ(set.pngData[i].data() == list.scaledSets[s].pngData[0].data(),
                          list.pngImages[i].pngData.data() == list.pngImages[0].pngData.data());
            }
        }
    }
    // Each category's own tasks and ISO Creator show the category picture; the others differ.
    const tk::PngImageListDefinition& main = lists[0];
    const tk::PngImageListDefinition& data = lists[1];
    auto same = [&](int task, int category) {
        return data.pngImages[static_cast<std::size_t>(task)].pngData.data() ==
               main.pngImages[static_cast<std::size_t>(category)].pngData.data();
    };
    for (int task : {0, 1, 2, 3}) {
        EXPECT_TRUE(same(task, 0));
    }
    EXPECT_TRUE(same(4, 1));
    for (int task : {6, 7, 8}) {
        EXPECT_TRUE(same(task, 2));
    }
    EXPECT_TRUE(same(11, 3));
    for (int task : {5, 9, 10, 12, 13}) {
        for (int category = 0; category < 4; ++category) {
            EXPECT_FALSE(same(task, category)) << task;
        }
    }
    EXPECT_TRUE(sc::embeddedPicture("no-such.png").empty());
}

std::vector<std::uint8_t> rgbaOf(const sc::png::TPNGObject& png) {
    std::vector<std::uint8_t> out(std::size_t(png.Width()) * std::size_t(png.Height()) * 4);
    for (int y = 0; y < png.Height(); ++y)
        sc::png::ReadRgbaPixels(png, y, 0, png.Width(), &out[std::size_t(y * png.Width()) * 4]);
    return out;
}

TEST(MainImageLists, LoadTheSetThatFitsTheDpiAndDecodeNoOther) {
    const tk::PngImageListDefinition main = sc::mainWindowImageLists()[0];
    const std::vector<std::uint8_t> design = rgbaOf(*decode(main.pngImages[1].pngData));
    const std::vector<std::uint8_t> x15 = rgbaOf(*decode(main.scaledSets[0].pngData[1]));
    const std::vector<std::uint8_t> x2 = rgbaOf(*decode(main.scaledSets[1].pngData[1]));

    sc::png::TListPictures at96 = sc::png::ReadListPictures(main, 96);
    EXPECT_EQ(at96.width, 48);
    ASSERT_EQ(at96.images.size(), 4u);
    EXPECT_EQ(rgbaOf(*at96.images[1]), design);

    sc::png::TListPictures at144 = sc::png::ReadListPictures(main, 144);
    EXPECT_EQ(at144.height, 72);
    EXPECT_EQ(rgbaOf(*at144.images[1]), x15) << "the 1.5x picture as rendered";

    sc::png::TListPictures at120 = sc::png::ReadListPictures(main, 120);
    EXPECT_EQ(at120.width, 60);
    EXPECT_EQ(rgbaOf(*at120.images[1]), sc::gfx::ResampleArea(x15, 72, 72, 60, 60));

    sc::png::TListPictures at240 = sc::png::ReadListPictures(main, 240); // 120: only smaller sets
    ASSERT_EQ(at240.images[1]->Width(), 120);
    const std::vector<std::uint8_t> big = rgbaOf(*at240.images[1]);
    for (int y = 0; y < 96; y += 19)
        for (int x = 0; x < 96; x += 7)
            for (int c = 0; c < 4; ++c)
                ASSERT_EQ(big[std::size_t((y + 12) * 120 + x + 12) * 4 + c],
                          x2[std::size_t(y * 96 + x) * 4 + c]);
    EXPECT_EQ(big[3], 0) << "transparent margin";

    // Sets that are not chosen are never decoded.
    static const unsigned char junk[] = {1, 2, 3, 4};
    tk::PngImageListDefinition broken = main;
    broken.scaledSets[1].pngData.assign(4, std::span<const unsigned char>(junk));
    EXPECT_NO_THROW(sc::png::ReadListPictures(broken, 96));
    EXPECT_NO_THROW(sc::png::ReadListPictures(broken, 144));
    EXPECT_THROW(sc::png::ReadListPictures(broken, 192), sc::png::EPNGInvalidFileHeader);
    // A set short of pictures is left out: 192 then centres the 1.5x set.
    broken.scaledSets[1].pngData.pop_back();
    EXPECT_EQ(sc::png::ReadListPictures(broken, 192).images[3]->Width(), 96);
}

} // namespace
