#pragma once

#include <string>

// Where the files the game writes for the player live (save profile,
// statistics, options). Every such path comes from here, so the folder can
// move in one place.
std::string SaveFolder();

// A file in that folder: SaveFolder() + "/" + name.
std::string SavePath(const std::string& name);

// Creates the folder (and any missing parents); an existing one is fine.
// False, with the reason in `error`, when it cannot be made.
bool MakeSaveFolder(std::string& error);
