#pragma once

#include <filesystem>
#include <string>

// Seed inputs of the fuzz targets, written through the project's own writers,
// and a few damaged files made by hand. Each function fills the corpus folder
// of one target.

void WriteConfigSeeds(const std::filesystem::path& folder);
void WriteImageSeeds(const std::filesystem::path& folder);
void WriteBitmapSeeds(const std::filesystem::path& folder);
void WriteStreamSeeds(const std::filesystem::path& folder);
void WriteCompoundSeeds(const std::filesystem::path& folder);
void WriteWaveSeeds(const std::filesystem::path& folder);
void WriteMovieSeeds(const std::filesystem::path& folder);
void WriteCdTrackSeeds(const std::filesystem::path& folder);
void WriteAlphaSeeds(const std::filesystem::path& folder);
void WriteSectorShapeSeeds(const std::filesystem::path& folder);
void WriteKnowledgeMapSeeds(const std::filesystem::path& folder);
void WriteKnowledgeMapCreateSeeds(const std::filesystem::path& folder);
void WriteLogicRecordSeeds(const std::filesystem::path& folder);
void WriteLogicMapSeeds(const std::filesystem::path& folder);
void WriteOrderSeeds(const std::filesystem::path& folder);
void WriteBSPStreamSeeds(const std::filesystem::path& folder);
void WriteObjectFileSeeds(const std::filesystem::path& folder);
void WriteArchiveMediaSeeds(const std::filesystem::path& folder);
void WriteGreetingSeeds(const std::filesystem::path& folder);
void WriteConnectionReadSeeds(const std::filesystem::path& folder);
void WriteHostAnswerSeeds(const std::filesystem::path& folder);
void WriteServerRequestSeeds(const std::filesystem::path& folder);
void WriteGraphicNodeSeeds(const std::filesystem::path& folder);
void WriteSequenceSeeds(const std::filesystem::path& folder);
void WriteMediaNodeSeeds(const std::filesystem::path& folder);
void WriteLogicLoadSeeds(const std::filesystem::path& folder);
void WriteTriggerEditorSeeds(const std::filesystem::path& folder);
void WriteThingResourceSeeds(const std::filesystem::path& folder);
void WriteColorMaskApplySeeds(const std::filesystem::path& folder);
void WriteCommsServerReaderSeeds(const std::filesystem::path& folder);
void WriteCommsClientReaderSeeds(const std::filesystem::path& folder);
void WriteBotSeeds(const std::filesystem::path& folder);
void WriteResourceSetSeeds(const std::filesystem::path& folder);

// Writes bytes as one seed file; false (with a message) on failure.
bool WriteSeed(const std::filesystem::path& folder, const std::string& name,
               const std::string& bytes);
