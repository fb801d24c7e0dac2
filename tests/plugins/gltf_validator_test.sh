#!/bin/sh
# The glTF export checked by the Khronos glTF validator (npm package
# gltf-validator, installed on first use into NPM_FOLDER). Exits 77 (skipped)
# when npm or the registry is not reachable.
# Usage: gltf_validator_test.sh KINEMO NPM_FOLDER
set -eu
kinemo=$1
npm_folder=$2
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v npm >/dev/null 2>&1 || ! command -v node >/dev/null 2>&1; then
  echo "skipped: node and npm are not installed, so the glTF validator cannot run"
  exit 77
fi
if [ ! -d "$npm_folder/node_modules/gltf-validator" ]; then
  mkdir -p "$npm_folder"
  if ! npm install --prefix "$npm_folder" --no-audit --no-fund --silent gltf-validator@2.0.0-dev.3.10 >"$npm_folder/install.log" 2>&1; then
    echo "skipped: npm could not install gltf-validator (no network?):"
    tail -3 "$npm_folder/install.log"
    exit 77
  fi
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$kinemo" --batch "$here/gltf_validator_export.lua" "$work"
NODE_PATH="$npm_folder/node_modules" node "$here/gltf_validate.js" "$work"/*.gltf "$work"/*.glb
