// Lists the sites the user allowed or blocked, and removes one on request.
import { siteKey, sitesFromStorage } from './consent_rules.js';

const api = globalThis.browser || globalThis.chrome;

function showList(list, origins) {
  list.replaceChildren();
  if (origins.length === 0) {
    const item = document.createElement('li');
    item.className = 'none';
    item.textContent = 'None';
    list.appendChild(item);
  }
  for (const origin of origins) {
    const item = document.createElement('li');
    const site = document.createElement('span');
    site.className = 'site';
    site.textContent = origin;
    const remove = document.createElement('button');
    remove.type = 'button';
    remove.textContent = 'Remove';
    remove.addEventListener('click', () => api.storage.local.remove(siteKey(origin)));
    item.append(site, remove);
    list.appendChild(item);
  }
}

async function show() {
  const sites = sitesFromStorage(await api.storage.local.get(null));
  showList(document.getElementById('allowed'), sites.allowed);
  showList(document.getElementById('blocked'), sites.blocked);
}

api.storage.onChanged.addListener(show);
show();
