#pragma once
// What polyobjects, cameras and lights share: identity, pose, matrices and a track.
#include <cstdint>
#include <memory>
#include <string>

#include "math/d3dx_math.h"
#include "scene/Track.h"

class SceneObject {
 public:
  SceneObject();

  // Copies the track's current values into the pose, after the track was evaluated.
  void TakePoseFromTrack();

  int32_t number = 0;
  std::string name;
  uint64_t id = 0;

  // The current pose: loaded from the file, overwritten by the track every update.
  D3DXVECTOR3 position;
  D3DXVECTOR3 rotation;
  D3DXVECTOR3 scale;

  // The parts and the product of the last world-matrix computation.
  D3DXMATRIX translation;
  D3DXMATRIX rotationMatrix;
  D3DXMATRIX scaling;
  D3DXMATRIX world;

  bool hasTrack = false;
  std::unique_ptr<Track> track;
};

// world = scaling × rotation × translation × parent, with the rotation from the yaw-pitch-roll
// quaternion of (−rotation.x, −rotation.y, −rotation.z).
void ComputeWorld(SceneObject* object, const D3DXMATRIX& parent);
