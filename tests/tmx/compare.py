#!/usr/bin/env python3
"""Compares what Tiled read from a map (its JSON export) with kuroshin_tmxdump.

  compare.py TILED.json DUMP.json [--skip-types] [--self-test]

Tiled's export must embed tilesets and detach templates. Prints one line per
difference and exits with 1 when there is any. --skip-types leaves out object
types, for maps using "class", which the installed Tiled cannot read.
--self-test instead spoils the dump in several ways and fails unless every
one of them is caught, so a comparison that checks nothing cannot pass.
"""

import base64
import gzip
import json
import os
import struct
import subprocess
import sys
import zlib

FLAGS = 0xF0000000


def as_float32(value):
    return struct.unpack("<f", struct.pack("<f", float(value)))[0]


def decode_layer_data(layer):
    data = layer["data"]
    if layer.get("encoding", "csv") == "csv":
        return list(data)
    raw = base64.b64decode(data)
    compression = layer.get("compression", "")
    if compression == "zlib":
        raw = zlib.decompress(raw)
    elif compression == "gzip":
        raw = gzip.decompress(raw)
    elif compression == "zstd":
        # No zstd module in the standard library.
        raw = subprocess.run(["zstd", "-q", "-d", "-c"], input=raw, check=True,
                             stdout=subprocess.PIPE).stdout
    elif compression:
        raise ValueError("unknown compression " + compression)
    return list(struct.unpack("<%dI" % (len(raw) // 4), raw))


def flatten(layers):
    for layer in layers:
        if layer["type"] == "group":
            yield from flatten(layer.get("layers", []))
        else:
            yield layer


class Comparison:
    def __init__(self):
        self.differences = []

    def check(self, where, expected, actual):
        if expected != actual:
            self.differences.append(f"{where}: Tiled {expected!r}, ours {actual!r}")
        return expected == actual

    def number(self, where, expected, actual):
        if as_float32(expected) != actual:
            self.differences.append(f"{where}: Tiled {expected!r}, ours {actual!r}")

    def properties(self, where, tiled, ours):
        tiled = {p["name"]: p for p in tiled or []}
        self.check(where + " property names", sorted(tiled), sorted(ours))
        for name in sorted(set(tiled) & set(ours)):
            kind, value, text = tiled[name]["type"], tiled[name]["value"], ours[name]
            place = f"{where} property {name!r}"
            if kind == "bool":
                self.check(place, "true" if value else "false", text)
            elif kind == "int":
                self.check(place, str(value), text)
            elif kind == "float":
                try:
                    self.check(place, float(value), float(text))
                except ValueError:
                    self.check(place, value, text)
            else:
                self.check(place, value, text)

    def tileset(self, where, tiled, ours, tiled_dir):
        for key in ("firstgid", "name", "tilewidth", "tileheight"):
            self.check(f"{where} {key}", tiled[key], ours[key])
        for key in ("margin", "spacing"):
            self.check(f"{where} {key}", tiled.get(key, 0), ours[key])
        image = ours["image"]
        if "image" in tiled:
            expected = os.path.normpath(os.path.join(tiled_dir, tiled["image"]))
            self.check(f"{where} image", expected, os.path.normpath(image["source"]))
            self.check(f"{where} image width", tiled["imagewidth"], image["width"])
            self.check(f"{where} image height", tiled["imageheight"], image["height"])
        # Tiled lists tiles with anything on them; ours lists only those with
        # properties, the only thing the game reads from a tile.
        tiled_tiles = {t["id"]: t.get("properties") for t in tiled.get("tiles", [])
                       if t.get("properties")}
        our_tiles = {t["id"]: t["properties"] for t in ours["tiles"] if t["properties"]}
        if self.check(f"{where} tiles with properties", sorted(tiled_tiles), sorted(our_tiles)):
            for tile_id in sorted(tiled_tiles):
                self.properties(f"{where} tile {tile_id}", tiled_tiles[tile_id],
                                our_tiles[tile_id])

    def tile_layer(self, where, tiled, ours):
        for key in ("name", "width", "height"):
            self.check(f"{where} {key}", tiled[key], ours[key])
        self.properties(where, tiled.get("properties"), ours["properties"])
        expected = [gid & ~FLAGS for gid in decode_layer_data(tiled)]
        if self.check(f"{where} cell count", len(expected), len(ours["gids"])):
            for i, (want, got) in enumerate(zip(expected, ours["gids"])):
                self.check(f"{where} cell {i}", want, got)

    def object(self, where, tiled, ours, skip_types):
        self.check(f"{where} name", tiled.get("name", ""), ours["name"])
        if not skip_types:
            self.check(f"{where} type", tiled.get("type", ""), ours["type"])
        for key in ("x", "y", "width", "height"):
            self.number(f"{where} {key}", tiled.get(key, 0), ours[key])
        self.check(f"{where} gid", tiled.get("gid", 0) & ~FLAGS, ours["gid"])
        polyline = tiled.get("polyline")
        if self.check(f"{where} has polyline", polyline is not None, ours["polyline"] is not None) \
                and polyline is not None:
            if self.check(f"{where} polyline length", len(polyline), len(ours["polyline"])):
                for i, (point, (x, y)) in enumerate(zip(polyline, ours["polyline"])):
                    self.number(f"{where} polyline {i} x", point["x"], x)
                    self.number(f"{where} polyline {i} y", point["y"], y)
        self.properties(where, tiled.get("properties"), ours["properties"])

    def map(self, tiled, ours, tiled_dir, skip_types):
        if "error" in ours:
            self.differences.append(f"our reader failed: {ours['error']} {ours['text']}")
            return
        for key in ("width", "height", "tilewidth", "tileheight"):
            self.check(f"map {key}", tiled[key], ours[key])
        self.properties("map", tiled.get("properties"), ours["properties"])

        tilesets = tiled.get("tilesets", [])
        if self.check("tileset count", len(tilesets), len(ours["tilesets"])):
            for i, (a, b) in enumerate(zip(tilesets, ours["tilesets"])):
                self.tileset(f"tileset {i}", a, b, tiled_dir)

        layers = list(flatten(tiled.get("layers", [])))
        tile_layers = [layer for layer in layers if layer["type"] == "tilelayer"]
        if self.check("tile layer count", len(tile_layers), len(ours["tilelayers"])):
            for i, (a, b) in enumerate(zip(tile_layers, ours["tilelayers"])):
                self.tile_layer(f"tile layer {i} ({a['name']})", a, b)

        groups = [layer for layer in layers if layer["type"] == "objectgroup"]
        if self.check("object group count", len(groups), len(ours["objectgroups"])):
            for i, (a, b) in enumerate(zip(groups, ours["objectgroups"])):
                where = f"object group {i} ({a['name']})"
                self.check(f"{where} name", a["name"], b["name"])
                self.properties(where, a.get("properties"), b["properties"])
                objects = a.get("objects", [])
                if self.check(f"{where} object count", len(objects), len(b["objects"])):
                    for j, (x, y) in enumerate(zip(objects, b["objects"])):
                        self.object(f"{where} object {j} ({x.get('name', '')})", x, y,
                                    skip_types)


def spoilings(ours):
    """Copies of a matching dump, each wrong in one field."""
    def spoil(change):
        copy = json.loads(json.dumps(ours))
        change(copy)
        return copy

    def first_object(dump, test):
        for group in dump["objectgroups"]:
            for item in group["objects"]:
                if test(item):
                    return item
        raise ValueError("the map has no object to spoil")

    def last_gid(dump):
        dump["tilelayers"][-1]["gids"][-1] ^= 1

    def map_property(dump):
        name = sorted(dump["properties"])[0]
        dump["properties"][name] += "x"

    def tile_property(dump):
        tile = next(t for s in dump["tilesets"] for t in s["tiles"] if t["properties"])
        name = sorted(tile["properties"])[0]
        tile["properties"][name] += "1"

    yield "a cell", spoil(last_gid)
    yield "a map property", spoil(map_property)
    yield "a tile property", spoil(tile_property)
    yield "a tileset image", spoil(lambda d: d["tilesets"][-1]["image"].update(
        source=d["tilesets"][-1]["image"]["source"] + ".png"))
    yield "a firstgid", spoil(lambda d: d["tilesets"][-1].update(
        firstgid=d["tilesets"][-1]["firstgid"] + 1))
    yield "an object x", spoil(lambda d: first_object(d, lambda o: True).update(
        x=first_object(d, lambda o: True)["x"] + 0.25))
    yield "an object type", spoil(lambda d: first_object(d, lambda o: True).update(type="?"))
    yield "an object gid", spoil(lambda d: first_object(d, lambda o: o["gid"]).update(gid=0))
    yield "a polyline point", spoil(lambda d: first_object(d, lambda o: o["polyline"])[
        "polyline"][-1].__setitem__(1, 1000))
    yield "an object property", spoil(lambda d: first_object(d, lambda o: o["properties"])[
        "properties"].update(extra="1"))
    yield "a lost object", spoil(lambda d: d["objectgroups"][0]["objects"].pop())


def self_test(tiled, ours, tiled_dir):
    comparison = Comparison()
    comparison.map(tiled, ours, tiled_dir, False)
    failures = [f"the unspoilt dump differs: {line}" for line in comparison.differences]
    for what, spoilt in spoilings(ours):
        comparison = Comparison()
        comparison.map(tiled, spoilt, tiled_dir, False)
        if not comparison.differences:
            failures.append(f"a change to {what} went unnoticed")
    return failures


def main(argv):
    arguments = [a for a in argv[1:] if not a.startswith("--")]
    if len(arguments) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    with open(arguments[0]) as f:
        tiled = json.load(f)
    with open(arguments[1]) as f:
        ours = json.load(f)
    tiled_dir = os.path.dirname(os.path.abspath(arguments[0]))
    if "--self-test" in argv:
        differences = self_test(tiled, ours, tiled_dir)
    else:
        comparison = Comparison()
        comparison.map(tiled, ours, tiled_dir, "--skip-types" in argv)
        differences = comparison.differences
    for line in differences:
        print(line)
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
