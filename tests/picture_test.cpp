#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "Picture.h"
#include "Stretch.h"

TEST(Picture, StoredJpegIsA269By349ColourPictureWithTheFirstComponentSampledTwoByTwo) {
  const PictureBytes stored = StoredPicture();
  std::string error;
  const std::optional<DecodedPicture> picture = DecodeJpeg(stored.data, stored.size, &error);
  ASSERT_TRUE(picture.has_value()) << error;
  EXPECT_EQ(picture->pixels.Width(), 269);
  EXPECT_EQ(picture->pixels.Height(), 349);
  EXPECT_EQ(picture->components, 3);
  EXPECT_EQ(picture->firstSamplingH, 2);
  EXPECT_EQ(picture->firstSamplingV, 2);
  // Not blank: the picture has more than one colour.
  EXPECT_NE(picture->pixels.At(0, 0), picture->pixels.At(134, 215));
  const Bitmap shown = Stretch(picture->pixels, 121, 153);
  EXPECT_EQ(shown.Width(), 121);
  EXPECT_EQ(shown.Height(), 153);
}

TEST(Picture, BrokenStreamsGiveNothingAndAReasonWithoutEndingTheProcess) {
  const PictureBytes stored = StoredPicture();
  const std::vector<unsigned char> whole(stored.data, stored.data + stored.size);
  std::mt19937 random(5);
  std::vector<unsigned char> noise(4096);
  for (unsigned char& byte : noise) byte = static_cast<unsigned char>(random());
  std::vector<unsigned char> header(whole.begin(), whole.begin() + 600);
  std::vector<unsigned char> flipped = whole;
  for (std::size_t i = 700; i < flipped.size(); i += 97) flipped[i] ^= 0x5A;

  for (const auto& broken : {std::vector<unsigned char>(whole.begin(), whole.end() - 2000), header,
                             noise, flipped, std::vector<unsigned char>{0xFF, 0xD8}}) {
    std::string error;
    EXPECT_FALSE(DecodeJpeg(broken.data(), broken.size(), &error).has_value());
    EXPECT_FALSE(error.empty());
  }
  std::string error;
  EXPECT_FALSE(DecodeJpeg(nullptr, 0, &error).has_value());
  EXPECT_EQ(error, "empty stream");
}
