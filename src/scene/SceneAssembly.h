#pragma once
// What happens to a scene after its file was read: materials resolved, polyobjects sorted
// opaque before transparent, mesh data built (and uploaded when a device is given),
// counters and the end time computed.
class ID3D11Device;
class ID3D11DeviceContext;
class Scene;

void AssembleScene(Scene* scene, ID3D11Device* device, ID3D11DeviceContext* deviceContext);
// The same in two steps: everything but the upload (no device needed, any thread), then the
// upload of every mesh on the device's thread.
void AssembleSceneData(Scene* scene);
void UploadSceneMeshes(Scene* scene, ID3D11Device* device, ID3D11DeviceContext* deviceContext);

// Each polyobject gets the first material of its name; a mesh without one gets the scene's
// default material, a dummy stays without.
void ResolveMaterials(Scene* scene);
// Stable: opaque meshes move before transparent ones, each group in file order; a dummy stays
// before every mesh that follows it in the file.
void SortPolyObjects(Scene* scene);
// The latest last-key time over every track and morph sequence.
void ComputeEndTime(Scene* scene);
