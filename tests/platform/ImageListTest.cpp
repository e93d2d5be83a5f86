#include "platform/ImageList.h"

#include <gtest/gtest.h>

// The buttons ask for their image whenever the sample view's mode changes: each image is drawn
// from its file once, not parsed again on every call.
TEST(ImageList, DrawsEachImageOnce) {
    const platform::ImageList images(16, {QStringLiteral(":/forms/icons/16/0-magic-wand.svg"),
                                          QStringLiteral(":/forms/icons/16/1-cross.svg")});
    const QIcon first = images.Icon(0);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(images.Icon(0).cacheKey(), first.cacheKey());
    EXPECT_EQ(images.Pixmap(1).cacheKey(), images.Pixmap(1).cacheKey());
    EXPECT_NE(images.Icon(1).cacheKey(), first.cacheKey());
}
