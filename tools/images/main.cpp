// pulsar-images <output folder> <bold font> <regular font> <handwriting font>: writes the generated pictures of
// the archive. The output is the same on every run.
#include <cstdio>
#include <string>

#include "Canvas.h"
#include "Images.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: pulsar-images <output folder> <bold font> <regular font> <handwriting font>\n");
    return 2;
  }
  const std::string out = std::string(argv[1]) + "/";
  TextPainter bold, regular, hand;
  if (!bold.Load(argv[2]) || !regular.Load(argv[3]) || !hand.Load(argv[4])) {
    std::fprintf(stderr, "pulsar-images: cannot read the fonts %s, %s, %s\n", argv[2], argv[3], argv[4]);
    return 1;
  }
  struct Job {
    const char* name;
    bool ok;
  } jobs[] = {
      {"loading.jpg", WriteLoadingPicture(out + "loading.jpg", bold, regular)},
      {"testbild.jpg", WriteTestCard(out + "testbild.jpg", bold, regular)},
      {"flagge_bg.jpg", WriteFlagBackground(out + "flagge_bg.jpg")},
      {"ssaonoise.png", WriteSsaoNoise(out + "ssaonoise.png")},
      {"radial.png", WriteRadialFlash(out + "radial.png")},
      {"vignette.png", WriteVignette(out + "vignette.png")},
      {"particletexture.jpg", WriteParticleGlow(out + "particletexture.jpg")},
      {"ring.jpg", WriteRing(out + "ring.jpg")},
      {"formula.jpg", WriteFormula(out + "formula.jpg", hand)},
      {"bobcolors.jpg", WriteBobColours(out + "bobcolors.jpg")},
      {"acid.jpg", WriteAcid(out + "acid.jpg")},
      {"molecular-lsd.jpg", WriteMolecularLsd(out + "molecular-lsd.jpg")},
  };
  int failed = 0;
  for (const Job& job : jobs)
    if (!job.ok) {
      std::fprintf(stderr, "pulsar-images: could not write %s%s\n", out.c_str(), job.name);
      ++failed;
    }
  return failed ? 1 : 0;
}
