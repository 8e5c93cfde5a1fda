"""Prints a Standard MIDI File as mido, a reader independent of the writer, understands it:
a line for the file, then for each track a line and one line per event with its time in
pulses from the start. Exits with 3 when mido is missing."""
import sys

try:
    import mido
except ImportError:
    sys.exit(3)

midi = mido.MidiFile(sys.argv[1])
print("file", midi.type, midi.ticks_per_beat, len(midi.tracks))
for index, track in enumerate(midi.tracks):
    print("track", index)
    pulse = 0
    for message in track:
        pulse += message.time
        kind = message.type
        if kind == "track_name":
            print(pulse, kind, message.name)
        elif kind == "set_tempo":
            print(pulse, kind, message.tempo)
        elif kind == "time_signature":
            print(pulse, kind, message.numerator, message.denominator,
                  message.clocks_per_click, message.notated_32nd_notes_per_beat)
        elif kind == "program_change":
            print(pulse, kind, message.channel, message.program)
        elif kind in ("note_on", "note_off"):
            print(pulse, kind, message.channel, message.note, message.velocity)
        else:
            print(pulse, kind)
