#pragma once
// A navigation bar skin for tests, with its textures made by ImageMagick.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace kiv {

// A 3 x 3 grid of 10-pixel pieces with the buttons (home, then pause with Play images)
// in the middle cell.
constexpr std::string_view kNavTestSkin =
    "[Common]\nColsCount=3\nRowsCount=3\n"
    "[CellWithObjects]\nCell=2, 2\nLeftOffset=4\nTopOffset=3\nRightOffset=5\nBottomOffset=2\n"
    "[Cell(1:1)]\nBounds=0,0,10,10\nflnm_Texture=grid.png\n[Cell(2:1)]\nBounds=10,0,10,10\nflnm_Texture=grid.png\n"
    "[Cell(3:1)]\nBounds=20,0,10,10\nflnm_Texture=grid.png\n[Cell(1:2)]\nBounds=0,10,10,10\nflnm_Texture=grid.png\n"
    "[Cell(2:2)]\nTextureType=repeat\nBounds=10,10,10,10\nflnm_Texture=grid.png\n"
    "[Cell(3:2)]\nBounds=20,10,10,10\nflnm_Texture=grid.png\n[Cell(1:3)]\nBounds=0,20,10,10\nflnm_Texture=grid.png\n"
    "[Cell(2:3)]\nBounds=10,20,10,10\nflnm_Texture=grid.png\n[Cell(3:3)]\nBounds=20,20,10,10\nflnm_Texture=grid.png\n"
    "[Objects]\nCount=2\n[Object1]\nSpace=2\n[Object2]\nShiftPressed=1\n"
    "[ACTION-HOME]\nActionType=home\nBtnTextureNormalBounds=0,0,10,8\nflnm_BtnTextureNormal=button.png\n"
    "BgTextureNormalBounds=0,0,20,16\nflnm_BgTextureNormal=bg.png\n"
    "[Action-Pause]\nActionType=pause\nBtnTextureNormalBounds=0,0,10,8\nflnm_BtnTextureNormal=button.png\n"
    "flnm_BtnTextureNormalPlay=play.png\nBgTextureNormalBounds=0,0,20,16\nflnm_BgTextureNormal=bg.png\n"
    "[Action-nothing]\n";

// Writes the skin's textures into folder: a red grid, green button images, blue Play
// images and grey backgrounds.
inline bool MakeNavTextures(const std::filesystem::path& folder) {
  const std::string magick = "cd '" + folder.string() + "' && convert -size 30x30 xc:'#ff0000' grid.png" +
                             " && convert -size 10x8 xc:'#00ff00' button.png && convert -size 10x8 xc:'#0000ff' play.png" +
                             " && convert -size 20x16 xc:'#808080' bg.png";
  return std::system(magick.c_str()) == 0;
}

}  // namespace kiv
