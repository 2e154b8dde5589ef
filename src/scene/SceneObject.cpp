#include "scene/SceneObject.h"

SceneObject::SceneObject() {
  D3DXMatrixIdentity(&translation);
  D3DXMatrixIdentity(&rotationMatrix);
  D3DXMatrixIdentity(&scaling);
  D3DXMatrixIdentity(&world);
}

void SceneObject::TakePoseFromTrack() {
  position = track->position;
  rotation = track->rotation;
  scale = track->scale;
}

void ComputeWorld(SceneObject* object, const D3DXMATRIX& parent) {
  D3DXMatrixScaling(&object->scaling, object->scale.x, object->scale.y, object->scale.z);
  D3DXQUATERNION rotation;
  D3DXQuaternionRotationYawPitchRoll(&rotation, -object->rotation.x, -object->rotation.y, -object->rotation.z);
  D3DXMatrixRotationQuaternion(&object->rotationMatrix, &rotation);
  D3DXMatrixTranslation(&object->translation, object->position.x, object->position.y, object->position.z);
  object->world = object->scaling * object->rotationMatrix * object->translation * parent;
}
