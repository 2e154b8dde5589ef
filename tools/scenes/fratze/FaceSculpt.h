#pragma once
// A sculpted face as one surface that can grimace. The grid runs across the face in u (round the
// head from ear to ear) and down it in v (crown to under the chin). A band of rows at the mouth
// line folds into the head as the inside of the mouth: closed, it is a thin fin behind the lips;
// as the jaw drops and the lips part it opens into a cavity, so every expression keeps the same
// vertices. Features are sculpted in face coordinates: fx across (1 ≈ 80 units), fy up (1 = 120).
#include <functional>

#include "C4eWriter.h"

namespace fratze {

// Muscles of an expression; 0 is the neutral face.
struct Expression {
  float jaw = 0.0f;        // 0 closed … 1 dropped wide open
  float lipsApart = 0.0f;  // extra parting of the lips in units, without the jaw
  float wide = 0.0f;       // mouth corners pulled outward
  float cornerUp = 0.0f;   // corners raised (+, a grin) or pulled down (−)
  float sneer = 0.0f;      // the left upper lip and nostril drawn up
  float browDown = 0.0f;   // frown
  float browUp = 0.0f;     // inner brows raised (fear, a scream)
  float squintLeft = 0.0f, squintRight = 0.0f;  // lower lids up; negative: eyes torn open
  float cheek = 0.0f;      // cheeks pushed up
  float nostrils = 0.0f;   // flared
};

Expression Blend(const Expression& a, const Expression& b, float t);
Expression Neutral();
Expression Frown();
Expression Sneer();
Expression Grin();
Expression Scream();

constexpr float kMouthLine = -0.48f;  // fy of the lips' meeting line
constexpr int kFaceColumns = 100;
constexpr int kFaceRows = 128;
// Rows of v: 70 for the upper face, 12 for the mouth band, 46 for the lower face and neck.
constexpr float kBandTop = 70.0f / kFaceRows;
constexpr float kBandBottom = 82.0f / kFaceRows;

// The face surface for an expression, for the grid above.
std::function<c4e::Vec3(float u, float v)> FaceSurface(const Expression& expression);
// A point of the skin at face coordinates; upper: the side above the lips (the jaw does not pull it).
c4e::Vec3 SkinPoint(const Expression& expression, float fx, float fy, bool upper);
// Where a point of the upper face (fy above the mouth line) lies in the face's picture.
void PictureCoordinates(float fx, float fy, float* u, float* v);
// How far the lower teeth travel with the jaw.
c4e::Vec3 JawOffset(const Expression& expression);
// Half the mouth's width in fx for an expression.
float MouthHalfWidth(const Expression& expression);

}  // namespace fratze
