#!/bin/sh
# Export -> rigmend --clip -> an XML parser and OGRE's own converter: the
# files the OGRE exporter writes are what rigmend reads, and what rigmend
# makes of them loads in the engine.
# Usage: ogre_rigmend_test.sh KINEMO RIGMEND
set -eu
kinemo=$1
rigmend=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$kinemo" --batch "$here/ogre_export.lua" "$work/hero.mesh.xml"
cd "$work"
"$rigmend" --clip Walk,1,10 --clip Run,11,20 hero.skeleton.xml

xmllint --noout hero.skeleton.xml hero.mesh.xml
failures=0
check() {
  if [ "$1" != "$2" ]; then
    echo "FAIL: $3: expected '$2', got '$1'"
    failures=$((failures + 1))
  fi
}
skeleton() { xmllint --xpath "$1" hero.skeleton.xml; }
mesh() { xmllint --xpath "$1" hero.mesh.xml; }
check "$(skeleton 'count(/skeleton/bones/bone)')" 2 "both joints are bones"
check "$(skeleton 'string(/skeleton/bones/bone[1]/@id)')$(skeleton 'string(/skeleton/bones/bone[2]/@id)')" 01 "bones numbered from 0"
check "$(skeleton 'string(/skeleton/bonehierarchy/boneparent/@parent)')" Root "the hierarchy"
check "$(skeleton 'count(/skeleton/animations/animation)')" 2 "one animation per clip"
for clip in Walk Run; do
  for track in 1 2; do
    check "$(skeleton "count(/skeleton/animations/animation[@name='$clip']/tracks/track[$track]/keyframes/keyframe)")" 10 \
      "$clip, track $track: a key at each of its frames"
  done
done
check "$(skeleton "string(/skeleton/animations/animation[@name='Run']/tracks/track[1]/keyframes/keyframe[1]/@time)")" \
  0.0000000000 "a clip's keys start at time 0"
check "$(mesh 'count(//vertexboneassignment)')" 11 "every weight of a bound vertex is assigned"
check "$(mesh 'count(//vertexboneassignment[@boneindex > 1])')" 0 "assignments name the renumbered bones"
check "$(mesh 'count(//vertex)')" 10 "the strip's vertices"
check "$(mesh 'string(/mesh/skeletonlink/@name)')" hero.skeleton.xml "the skeleton link names the file"

if command -v OgreXMLConverter >/dev/null 2>&1; then
  OgreXMLConverter hero.skeleton.xml >converter.log 2>&1 || { cat converter.log; failures=$((failures + 1)); }
  OgreXMLConverter hero.mesh.xml >>converter.log 2>&1 || { cat converter.log; failures=$((failures + 1)); }
  [ -s hero.skeleton ] && [ -s hero.mesh ] || { echo "FAIL: OgreXMLConverter wrote no binary files"; failures=$((failures + 1)); }
else
  echo "OgreXMLConverter is not installed (ogre-1.12-tools): the engine's own check was skipped"
fi

# The exporter that writes the clips itself: the same clips, no rigmend.
mkdir clips && cd clips
"$kinemo" --batch "$here/ogre_export.lua" "$work/clips/hero.mesh.xml" clips
xmllint --noout hero.skeleton.xml hero.mesh.xml
check "$(skeleton 'string(/skeleton/bones/bone[1]/@id)')$(skeleton 'string(/skeleton/bones/bone[2]/@id)')" 01 "clips: bones numbered from 0"
check "$(skeleton 'count(/skeleton/animations/animation)')" 2 "clips: one animation per clip"
for clip in Walk Run; do
  check "$(skeleton "count(/skeleton/animations/animation[@name='$clip']/tracks/track[1]/keyframes/keyframe)")" 10 \
    "clips: $clip has a key at each of its frames"
done
check "$(skeleton "string(/skeleton/animations/animation[@name='Run']/tracks/track[1]/keyframes/keyframe[1]/@time)")" \
  0 "clips: a clip's keys start at time 0"
check "$(mesh 'count(//vertexboneassignment[@boneindex > 1])')" 0 "clips: assignments name bones 0 and 1"
if command -v OgreXMLConverter >/dev/null 2>&1; then
  OgreXMLConverter hero.skeleton.xml >converter.log 2>&1 || { cat converter.log; failures=$((failures + 1)); }
  OgreXMLConverter hero.mesh.xml >>converter.log 2>&1 || { cat converter.log; failures=$((failures + 1)); }
  [ -s hero.skeleton ] && [ -s hero.mesh ] || { echo "FAIL: clips: OgreXMLConverter wrote no binary files"; failures=$((failures + 1)); }
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "OGRE export, rigmend and the XML readers agree"
