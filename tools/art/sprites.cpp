#include "art/sprites.h"

namespace art::sprites {

// Legend (see inkFor): O outline, W white, L/M/D fur shades, i/I/J ice shades,
// E eye, G eye glint, N nose, T tongue, P blush, S/s star, d sweat, K black.

const PixelMap& eyeOpen() {
  static const PixelMap map{
      ".EEEE.",
      "EWWEEE",
      "EWWEEE",
      "EEEEEE",
      "EEEEEE",
      "EEEGGE",
      ".EEEE.",
  };
  return map;
}

const PixelMap& eyeWide() {
  static const PixelMap map{
      ".EEE.",
      "EWEEE",
      "EEEEE",
      "EEEGE",
      ".EEE.",
  };
  return map;
}

const PixelMap& eyeHappy() {
  static const PixelMap map{
      ".EEEE.",
      "EE..EE",
      "E....E",
  };
  return map;
}

const PixelMap& eyeSqueezeLeft() {
  static const PixelMap map{
      "EE....",
      ".EEE..",
      "...EEE",
      ".EEE..",
      "EE....",
  };
  return map;
}

const PixelMap& eyeCross() {
  static const PixelMap map{
      "EE..EE",
      ".EEEE.",
      "..EE..",
      ".EEEE.",
      "EE..EE",
  };
  return map;
}

const PixelMap& eyeSwirl() {
  static const PixelMap map{
      "..EEEE.",
      ".E....E",
      "E..EE.E",
      "E.E.E.E",
      "E.E..E.",
      "E..EE..",
      ".E.....",
  };
  return map;
}

const PixelMap& eyeSmall() {
  static const PixelMap map{
      ".EE.",
      "EWEE",
      "EEEE",
      ".EE.",
  };
  return map;
}

const PixelMap& nose() {
  static const PixelMap map{
      ".NNNN.",
      "NLNNNN",
      ".NNNN.",
      "..NN..",
  };
  return map;
}

const PixelMap& noseSmall() {
  static const PixelMap map{
      "NNN",
      "NN.",
  };
  return map;
}

const PixelMap& mouthSmile() {
  static const PixelMap map{
      "...O...",
      "O..O..O",
      ".OO.OO.",
  };
  return map;
}

const PixelMap& mouthGrin() {
  static const PixelMap map{
      "OOOOOOO",
      "OTTTTTO",
      ".OTTTO.",
      "..OOO..",
  };
  return map;
}

const PixelMap& mouthFrown() {
  static const PixelMap map{
      "..OOO..",
      ".O...O.",
  };
  return map;
}

const PixelMap& mouthOh() {
  static const PixelMap map{
      ".OO.",
      "OTTO",
      "OTTO",
      ".OO.",
  };
  return map;
}

const PixelMap& frostMark() {
  static const PixelMap map{
      "..I..",
      ".IiI.",
      "IiJiI",
      ".IiI.",
      "..I..",
  };
  return map;
}

const PixelMap& blush() {
  static const PixelMap map{
      "P.P.",
      ".P.P",
  };
  return map;
}

const PixelMap& star() {
  static const PixelMap map{
      "...O...",
      "..OSO..",
      "OOSSSOO",
      "OSSsSSO",
      ".OSSSO.",
      ".OSOSO.",
      ".OO.OO.",
  };
  return map;
}

const PixelMap& sweatDrop() {
  static const PixelMap map{
      "..O.",
      ".OdO",
      "OddO",
      "OWdO",
      ".OO.",
  };
  return map;
}

const PixelMap& pawPads() {
  static const PixelMap map{
      "J.J.J",
      ".....",
      ".JJJ.",
      ".JJJ.",
  };
  return map;
}

const PixelMap& cursor() {
  // An arrow point with a paw print on it; the point's tip is the hot spot.
  static const PixelMap map{
      "................................",
      "................................",
      "................................",
      "................................",
      "................................",
      "................................",
      "................................",
      "................................",
      ".....K..........................",
      ".....KK.........................",
      ".....KWK........................",
      ".....KWWK.......................",
      ".....KWWWK......................",
      ".....KWWWWK.....................",
      ".....KWWWWWK....................",
      ".....KWWWWWWK...................",
      ".....KWWWWWWWK..................",
      ".....KWWWWWWWWK.................",
      ".....KWWWWIIWWWK................",
      ".....KWWWWIIWWWWK...............",
      ".....KWIIWWWWIIWWK..............",
      ".....KWIIWWWWIIWWWK.............",
      ".....KWWWWWWWWWWIIWK............",
      ".....KWWWWIIIIWWIIWWK...........",
      ".....KWWWIIIIIIWWWWWWK..........",
      ".....KWWWIIIIIIWWWKKK...........",
      ".....KWWWWIIIIWWKK..............",
      ".....KWWWWWWWKKK................",
      ".....KWWWWKKK...................",
      ".....KWKKK......................",
      ".....KK.........................",
      "................................",
  };
  return map;
}

const PixelMap* glyph(char letter) {
  static const PixelMap a{".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"};
  static const PixelMap c{".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."};
  static const PixelMap d{"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."};
  static const PixelMap e{"#####", "#....", "#....", "####.", "#....", "#....", "#####"};
  static const PixelMap f{"#####", "#....", "#....", "####.", "#....", "#....", "#...."};
  static const PixelMap g{".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."};
  static const PixelMap h{"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"};
  static const PixelMap i{"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"};
  static const PixelMap k{"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"};
  static const PixelMap l{"#....", "#....", "#....", "#....", "#....", "#....", "#####"};
  static const PixelMap n{"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"};
  static const PixelMap o{".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."};
  static const PixelMap p{"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."};
  static const PixelMap r{"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"};
  static const PixelMap s{".####", "#....", "#....", ".###.", "....#", "....#", "####."};
  static const PixelMap t{"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."};
  static const PixelMap u{"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."};
  static const PixelMap w{"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"};
  static const PixelMap y{"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."};
  static const PixelMap one{"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."};
  static const PixelMap eight{".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."};
  static const PixelMap x{"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"};
  static const PixelMap three{"####.", "....#", "....#", ".###.", "....#", "....#", "####."};
  static const PixelMap two{".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"};
  switch (letter) {
    case 'A': return &a;
    case 'C': return &c;
    case 'D': return &d;
    case 'E': return &e;
    case 'F': return &f;
    case 'G': return &g;
    case 'H': return &h;
    case 'I': return &i;
    case 'K': return &k;
    case 'L': return &l;
    case 'N': return &n;
    case 'O': return &o;
    case 'P': return &p;
    case 'R': return &r;
    case 'S': return &s;
    case 'T': return &t;
    case 'U': return &u;
    case 'W': return &w;
    case 'X': return &x;
    case 'Y': return &y;
    case '1': return &one;
    case '2': return &two;
    case '3': return &three;
    case '8': return &eight;
    default: return nullptr;
  }
}

}  // namespace art::sprites
