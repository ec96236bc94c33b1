#pragma once

#include <QString>

#include <memory>
#include <vector>

typedef struct _GstBuffer GstBuffer;
typedef struct _GstElement GstElement;
typedef struct _GSource GSource;

// A stream's encoded pictures, recorded once and replayed to any number of clients: serving many
// streams then costs next to nothing, so that a benchmark measures the players, not the encoders.
class RecordedPictures : public std::enable_shared_from_this<RecordedPictures>
{
public:
    // Runs pipeline (a description whose source ends by itself, ending in an appsink named
    // "sink" that takes H.264 byte-stream access units) to its end and keeps what it made.
    // Blocks while it encodes. Null, with the reason in error, when nothing came.
    static std::shared_ptr<const RecordedPictures> record(const QString& pipeline, QString* error);
    ~RecordedPictures();

    int size() const { return int(units.size()); }

    // Pushes the pictures into appsrc at fps while its pipeline plays, from the first one and
    // round again, stamped with the pipeline's running time. Runs in the calling thread's
    // default main context; destroy the returned source (g_source_destroy, g_source_unref) to stop.
    GSource* feed(GstElement* appsrc, int fps) const;

private:
    RecordedPictures() = default;
    std::vector<GstBuffer*> units; // references held
};
