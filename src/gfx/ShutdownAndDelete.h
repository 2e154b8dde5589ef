#pragma once
// Ends a member the owner created with new: its Shutdown, then delete, then null, so a second
// Shutdown of the owner (or one after a failed Initialize) finds nothing left to end.

template <class T>
void ShutdownAndDelete(T*& object) {
  if (object == nullptr) return;
  object->Shutdown();
  delete object;
  object = nullptr;
}
