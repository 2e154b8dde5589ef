#pragma once
// Releases a held Direct3D object and forgets it, so a second Shutdown finds nothing to release.

template <class T>
void ReleaseAndForget(T*& object) {
  if (object != nullptr) {
    object->Release();
    object = nullptr;
  }
}
