// A second reader of SWF movies for the tests, the npm "swf-parser" package: exit 0 when it
// reads the whole movie and decodes every tag, 1 (with the reason) when not.
// usage: node swf_parse.mjs NODE_MODULES MOVIE.swf
import fs from "node:fs";
import path from "node:path";
import { createRequire } from "node:module";

const [modules, file] = process.argv.slice(2);
const require = createRequire(path.join(path.resolve(modules || "."), "package.json"));
const { parseSwf } = require("swf-parser");
const { TagType } = require("swf-types/tags/_type");
let movie;
try {
  movie = parseSwf(fs.readFileSync(file));
} catch (e) {
  console.log("cannot parse: " + e);
  process.exit(1);
}
const problems = [];
let count = 0;
const walk = (tags, owner) => {
  for (const t of tags) {
    ++count;
    const name = TagType[t.type];
    if (name === "Raw" || name === "RawBody") problems.push(`${owner}: a tag could not be decoded`);
    if (name === "DefineSprite") walk(t.tags, `sprite ${t.id}`);
  }
};
walk(movie.tags, "movie");
console.log(`${movie.header.frameCount} frames, ${count} tags`);
for (const p of problems) console.log(p);
process.exit(problems.length ? 1 : 0);
