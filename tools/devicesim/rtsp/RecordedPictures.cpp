// GLib's headers use "signals" as a name: they come before any Qt header.
#include <gst/gst.h>

#include "RecordedPictures.h"

namespace {

// One client's replay.
struct Feeder
{
    GstElement* source = nullptr; // a reference held
    std::shared_ptr<const RecordedPictures> pictures;
    const std::vector<GstBuffer*>* units = nullptr;
    gint64 intervalUs = 0;
    gint64 startUs = 0;   // monotonic time picture 0 was due, counting only while playing
    bool playing = false;
    quint64 pushed = 0;
    GstClockTime lastPts = GST_CLOCK_TIME_NONE;
};

void freeFeeder(gpointer data)
{
    auto* f = static_cast<Feeder*>(data);
    gst_object_unref(f->source);
    delete f;
}

gboolean feedDue(gpointer data)
{
    auto* f = static_cast<Feeder*>(data);
    // The server plays a client's pipeline to learn its caps, pauses it until the client says
    // PLAY, then plays it again: pictures go out only while it plays, and pick up where they
    // stopped.
    GstState state = GST_STATE_VOID_PENDING;
    gst_element_get_state(f->source, &state, nullptr, 0);
    const gint64 now = g_get_monotonic_time();
    const GstClockTime running = gst_element_get_current_running_time(f->source);
    if (state != GST_STATE_PLAYING || !GST_CLOCK_TIME_IS_VALID(running)) {
        f->playing = false;
        return G_SOURCE_CONTINUE;
    }
    if (!f->playing) {
        f->playing = true;
        f->startUs = now - gint64(f->pushed) * f->intervalUs;
    }
    gint64 due = 0;
    while ((due = f->startUs + gint64(f->pushed) * f->intervalUs) <= now) {
        GstBuffer* unit = gst_buffer_copy((*f->units)[f->pushed % f->units->size()]);
        // Stamped with the running time it was due at, so that pictures sent together in one
        // call keep their distance.
        const GstClockTime late = GstClockTime(now - due) * GST_USECOND;
        GstClockTime pts = running > late ? running - late : 0;
        if (GST_CLOCK_TIME_IS_VALID(f->lastPts) && pts <= f->lastPts)
            pts = f->lastPts + 1;
        f->lastPts = pts;
        GST_BUFFER_PTS(unit) = GST_BUFFER_DTS(unit) = pts;
        GST_BUFFER_DURATION(unit) = GstClockTime(f->intervalUs) * GST_USECOND;
        GstFlowReturn result = GST_FLOW_OK;
        g_signal_emit_by_name(f->source, "push-buffer", unit, &result);
        gst_buffer_unref(unit);
        ++f->pushed;
        if (result != GST_FLOW_OK)
            break;
    }
    return G_SOURCE_CONTINUE;
}

} // namespace

std::shared_ptr<const RecordedPictures> RecordedPictures::record(const QString& pipeline, QString* error)
{
    GError* parseError = nullptr;
    GstElement* bin = gst_parse_launch(pipeline.toUtf8().constData(), &parseError);
    if (!bin) {
        if (error)
            *error = QString::fromUtf8(parseError ? parseError->message : "cannot build the recording");
        if (parseError)
            g_error_free(parseError);
        return nullptr;
    }
    if (parseError)
        g_error_free(parseError);
    std::shared_ptr<RecordedPictures> recording(new RecordedPictures);
    QString failure = QStringLiteral("the recording made no pictures");
    GstElement* sink = gst_bin_get_by_name(GST_BIN(bin), "sink");
    GstBus* bus = gst_element_get_bus(bin);
    if (sink && gst_element_set_state(bin, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) {
        for (;;) {
            GstSample* sample = nullptr;
            // An error upstream never reaches the sink: look at the bus while waiting.
            g_signal_emit_by_name(sink, "try-pull-sample", GstClockTime(GST_SECOND), &sample);
            if (sample) {
                if (GstBuffer* unit = gst_sample_get_buffer(sample))
                    recording->units.push_back(gst_buffer_ref(unit));
                gst_sample_unref(sample);
                continue;
            }
            gboolean ended = FALSE;
            g_object_get(sink, "eos", &ended, nullptr);
            if (ended)
                break;
            if (GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
                GError* streamError = nullptr;
                gst_message_parse_error(message, &streamError, nullptr);
                failure = QString::fromUtf8(streamError ? streamError->message : "recording failed");
                if (streamError)
                    g_error_free(streamError);
                gst_message_unref(message);
                recording.reset(); // its destructor lets go of the pictures
                break;
            }
        }
    }
    gst_element_set_state(bin, GST_STATE_NULL);
    gst_object_unref(bus);
    if (sink)
        gst_object_unref(sink);
    gst_object_unref(bin);
    if (!recording || recording->units.empty()) {
        if (error)
            *error = failure;
        return nullptr;
    }
    return recording;
}

RecordedPictures::~RecordedPictures()
{
    for (GstBuffer* unit : units)
        gst_buffer_unref(unit);
}

GSource* RecordedPictures::feed(GstElement* appsrc, int fps) const
{
    auto* f = new Feeder;
    f->source = GST_ELEMENT(gst_object_ref(appsrc));
    f->pictures = shared_from_this();
    f->units = &units;
    f->intervalUs = G_USEC_PER_SEC / fps;
    // Looked at more often than pictures are due, so that each goes out close to its time.
    GSource* timer = g_timeout_source_new(10);
    g_source_set_callback(timer, &feedDue, f, &freeFeeder);
    GMainContext* context = g_main_context_ref_thread_default();
    g_source_attach(timer, context);
    g_main_context_unref(context);
    return timer;
}
