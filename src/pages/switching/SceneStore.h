#pragma once

#include <QString>
#include <QStringList>

// Scene names and the current scene in data/ClientConfig.dat, and the scene numbers the matrix
// uses. The file is opened afresh for every access.
namespace SceneStore {

constexpr int kSceneCount = 10;

QString configPath();

// Number sent to the matrix for the scene at index (0 to 9): the 160-port model counts scenes
// from 1, every other model from 0.
int sceneNumber(int index, int model);

// Names of the ten scenes; defaults[i] where element i of "SCENE_INFO" has no "Name". The
// array's size entry is not consulted.
QStringList loadNames(const QStringList& defaults);
// Writes "Name" of element index (array written without a declared size).
void saveName(int index, const QString& name);
// "CLIENT_INFO/CurrentSencce".
void storeCurrentScene(int number);

} // namespace SceneStore
